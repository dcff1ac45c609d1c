#include "PageSettingsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QSettings>
#include <QVBoxLayout>

namespace {

QSettings settings()
{
    return QSettings(QStringLiteral("gpl-attest"), QStringLiteral("gpl-attest"));
}

const QString unitsKey = QStringLiteral("Preview/Units");

qreal mmPerUnit(PageSettingsDialog::Unit unit)
{
    return unit == PageSettingsDialog::Unit::Inches ? 25.4 : 10.0;
}

} // namespace

PageSettingsDialog::Unit PageSettingsDialog::storedUnit()
{
    return settings().value(unitsKey, 0).toInt() == 1 ? Unit::Inches : Unit::Centimetres;
}

void PageSettingsDialog::storeUnit(Unit unit)
{
    settings().setValue(unitsKey, unit == Unit::Inches ? 1 : 0);
}

PageSettingsDialog::PageSettingsDialog(const QMarginsF& marginsMm, QWidget* parent)
    : QDialog(parent), m_marginsMm(marginsMm)
{
    setObjectName(QStringLiteral("PageSettingsDialog"));
    setWindowTitle(tr("Page Settings"));
    auto* form = new QFormLayout;
    form->addRow(tr("Paper"), new QLabel(tr("A4, portrait (210 × 297 mm)"), this));
    m_unitBox = new QComboBox(this);
    m_unitBox->setObjectName(QStringLiteral("UnitBox"));
    m_unitBox->addItem(tr("Centimetres"));
    m_unitBox->addItem(tr("Inches"));
    form->addRow(tr("Units"), m_unitBox);
    const auto makeSpin = [this, form](const QString& name, const QString& label) {
        auto* spin = new QDoubleSpinBox(this);
        spin->setObjectName(name);
        spin->setRange(0, 100);
        form->addRow(label, spin);
        return spin;
    };
    m_left = makeSpin(QStringLiteral("LeftMarginSpin"), tr("Left margin"));
    m_top = makeSpin(QStringLiteral("TopMarginSpin"), tr("Top margin"));
    m_right = makeSpin(QStringLiteral("RightMarginSpin"), tr("Right margin"));
    m_bottom = makeSpin(QStringLiteral("BottomMarginSpin"), tr("Bottom margin"));

    const Unit initialUnit = storedUnit();
    m_unitBox->setCurrentIndex(initialUnit == Unit::Inches ? 1 : 0);
    showInUnit(initialUnit);
    connect(m_unitBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        readMargins(); // keep what was typed in the old unit
        showInUnit(index == 1 ? Unit::Inches : Unit::Centimetres);
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        readMargins();
        storeUnit(unit());
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

PageSettingsDialog::Unit PageSettingsDialog::unit() const
{
    return m_unitBox->currentIndex() == 1 ? Unit::Inches : Unit::Centimetres;
}

void PageSettingsDialog::showInUnit(Unit unit)
{
    const qreal factor = mmPerUnit(unit);
    const QString suffix = unit == Unit::Inches ? QStringLiteral(" in") : QStringLiteral(" cm");
    for (QDoubleSpinBox* spin : {m_left, m_top, m_right, m_bottom}) {
        spin->setDecimals(unit == Unit::Inches ? 3 : 2);
        spin->setSingleStep(unit == Unit::Inches ? 0.1 : 0.5);
        spin->setSuffix(suffix);
        spin->setMaximum(100.0 / factor);
    }
    m_left->setValue(m_marginsMm.left() / factor);
    m_top->setValue(m_marginsMm.top() / factor);
    m_right->setValue(m_marginsMm.right() / factor);
    m_bottom->setValue(m_marginsMm.bottom() / factor);
}

void PageSettingsDialog::readMargins()
{
    // The unit the boxes show now is the one their suffix says.
    const Unit shown = m_left->suffix().contains(QLatin1String("in")) ? Unit::Inches : Unit::Centimetres;
    const qreal factor = mmPerUnit(shown);
    m_marginsMm = QMarginsF(m_left->value() * factor, m_top->value() * factor, m_right->value() * factor,
                            m_bottom->value() * factor);
}
