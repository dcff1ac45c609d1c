#pragma once

#include "certificate/PreviewDialogs.h"

#include <QPrinter>
#include <QStringList>

#include <functional>

/// Answers the preview's dialogs without a person and remembers what they were asked.
class FakePreviewDialogs : public PreviewDialogs
{
public:
    FakePreviewDialogs() { PreviewDialogs::setOverride(this); }
    ~FakePreviewDialogs() override { PreviewDialogs::setOverride(nullptr); }
    FakePreviewDialogs(const FakePreviewDialogs&) = delete;
    FakePreviewDialogs& operator=(const FakePreviewDialogs&) = delete;

    bool printerInstalled = true;
    /// Given the printer the preview prepared; returns the operator's answer.
    std::function<bool(QPrinter*)> printAnswer = [](QPrinter*) { return false; };
    bool acceptOptions = true;
    PdfExportOptions optionsAnswer;
    QStringList saveAnswers; // taken in turn; an empty answer cancels
    QString openAnswer;
    QMarginsF marginsAnswer;

    int printAsked = 0;
    int optionsAsked = 0;
    QList<FileRequest> saveRequests;

    bool hasPrinter() override { return printerInstalled; }
    bool askPrint(QWidget*, QPrinter* printer) override
    {
        ++printAsked;
        return printAnswer(printer);
    }
    bool askPdfOptions(QWidget*, PdfExportOptions* options) override
    {
        ++optionsAsked;
        if (acceptOptions)
            *options = optionsAnswer;
        return acceptOptions;
    }
    QString askSaveFile(QWidget*, const FileRequest& request) override
    {
        saveRequests.append(request);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    QString askOpenFile(QWidget*, const FileRequest&) override { return openAnswer; }
    bool askPageMargins(QWidget*, QMarginsF* marginsMm) override
    {
        *marginsMm = marginsAnswer;
        return true;
    }
};
