#include "dialogs/TEnterTargetWeight.h"

#include "db/DbError.h"
#include "db/TargetWeightStore.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui_TEnterTargetWeight.h"

#include <QLineEdit>
#include <QPushButton>

namespace tav {

namespace {

// The value as the field shows it: the card's weight without its unit.
QString fieldText(const std::optional<double>& v)
{
    if (!v)
        return {};
    QString text = weightText(*v);
    return text.left(text.size() - 3);
}

} // namespace

TEnterTargetWeight::TEnterTargetWeight(Connection& connection, qint64 animalId, QWidget* parent)
    : QDialog(parent), m_connection(connection), m_animal(animalId)
{
    Ui::TEnterTargetWeight form;
    form.setupUi(this);
    m_min = form.Ed_Min;
    m_max = form.Ed_Max;
    const WeightBand band = readTargetWeight(m_connection, m_animal);
    m_min->setText(fieldText(band.min));
    m_max->setText(fieldText(band.max));
    connect(form.Btn_Ok, &QPushButton::clicked, this, &TEnterTargetWeight::Btn_OkClick);
    connect(form.Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    prepareWindow(this, false);
    m_min->setFocus();
}

void TEnterTargetWeight::Btn_OkClick()
{
    WeightBand band;
    if (const QString reason = WeightBand::fromTexts(m_min->text(), m_max->text(), &band);
        !reason.isEmpty()) {
        showError(this, reason);
        return;
    }
    try {
        writeTargetWeight(m_connection, m_animal, band);
    } catch (const DbError& e) {
        showError(this, e.message());
        return;
    }
    accept();
}

bool editTargetWeight(QWidget* parent, Connection& connection, qint64 animalId)
{
    try {
        TEnterTargetWeight window(connection, animalId, parent);
        return window.exec() == QDialog::Accepted;
    } catch (const DbError& e) {
        showError(parent, e.message());
        return false;
    }
}

} // namespace tav
