#pragma once

#include <QDialog>
#include <QMarginsF>

class QComboBox;
class QDoubleSpinBox;

/// The page settings of the preview: A4 portrait, with the four margins shown in centimetres or inches.
/// The unit chosen is remembered for the next time (setting "Units": 1 for inches, otherwise centimetres).
class PageSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Unit { Centimetres, Inches };

    explicit PageSettingsDialog(const QMarginsF& marginsMm, QWidget* parent = nullptr);

    QMarginsF marginsMm() const { return m_marginsMm; }
    Unit unit() const;

    static Unit storedUnit();
    static void storeUnit(Unit unit);

private:
    void showInUnit(Unit unit);
    void readMargins();

    QMarginsF m_marginsMm;
    QComboBox* m_unitBox = nullptr;
    QDoubleSpinBox* m_left = nullptr;
    QDoubleSpinBox* m_top = nullptr;
    QDoubleSpinBox* m_right = nullptr;
    QDoubleSpinBox* m_bottom = nullptr;
};
