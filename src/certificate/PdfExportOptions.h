#pragma once

#include <QString>

/// The settings of one PDF export. The defaults are the workshop's: FastReport's author and subject,
/// compression on, no passwords, every permission granted, print scaling off.
struct PdfExportOptions
{
    // Document information.
    QString title;
    QString author = QStringLiteral("FastReport");
    QString subject = QStringLiteral("FastReport PDF export");
    QString keywords;
    QString creator;
    QString producer;

    bool compressed = true;

    // Security: a non-empty password encrypts the file (RC4 128-bit, the strongest PDF 1.5 allows).
    QString ownerPassword;
    QString userPassword;
    bool allowPrint = true;
    bool allowModify = true;
    bool allowCopy = true;
    bool allowAnnotate = true;

    // Viewer preferences.
    bool hideToolbar = false;
    bool hideMenubar = false;
    bool hideWindowUi = false;
    bool fitWindow = false;
    bool centerWindow = false;
    bool printScaling = false;

    bool isEncrypted() const { return !ownerPassword.isEmpty() || !userPassword.isEmpty(); }
};
