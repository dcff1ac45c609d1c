#pragma once

#include <QLineEdit>

/// A line edit that turns letters to upper case as they are typed or pasted, accented letters included.
class UpperCaseLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit UpperCaseLineEdit(QWidget* parent = nullptr);
};
