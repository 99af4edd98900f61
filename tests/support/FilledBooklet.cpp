#include "FilledBooklet.h"

#include "ModalAnswer.h"
#include "TestInput.h"
#include "TestText.h"

#include "dialogs/TCareEntry.h"
#include "dialogs/TChartValueList.h"
#include "dialogs/TEnterAnalysisValue.h"
#include "dialogs/TEnterAnimalAnalysis.h"
#include "dialogs/TEnterDocument.h"
#include "dialogs/TEnterEvents.h"
#include "dialogs/TEnterTargetWeight.h"
#include "dialogs/TEnterWeight.h"
#include "dialogs/TReferenceEntry.h"
#include "dialogs/TReferenceList.h"
#include "dialogs/TStrList.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAbstractButton>
#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

namespace tav::test {

namespace {

QPushButton* okOf(QWidget* window)
{
    return window->findChild<QPushButton*>(QStringLiteral("Btn_Ok"));
}

QLineEdit* editOf(QWidget* window, const char* name)
{
    return window->findChild<QLineEdit*>(QString::fromLatin1(name));
}

// Opens the pick list of a field with Enter, as the user does, and takes
// the line that starts with text (the lists add a category in brackets).
bool pickFor(QLineEdit* field, const QString& text)
{
    if (!field)
        return false;
    QTest::keyClick(field, Qt::Key_Return);
    QStringList offered;
    if (chooseLine(text, &offered))
        return true;
    for (const QString& line : offered) {
        if (line.startsWith(text))
            return chooseLine(line);
    }
    if (TStrList* list = TStrList::openList())
        list->close();
    return false;
}

// A date typed into a masked field: the digits only.
QString digits(const char* date)
{
    return QString::fromLatin1(date).remove(QLatin1Char('/'));
}

} // namespace

FilledBooklet::FilledBooklet()
    : m_clock(std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 12, 9), QTime(10, 0))))
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    FileDialog::clearNextFileNames();
    FileDialog::clearRequests();
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    m_app->installReports();
}

FilledBooklet::~FilledBooklet()
{
    m_app.reset();
}

QWidget* FilledBooklet::mainWindow() const
{
    return AppFixture::findWindow("TMainForm");
}

QAction* FilledBooklet::action(const char* name) const
{
    QWidget* main = mainWindow();
    return main ? main->findChild<QAction*>(QString::fromLatin1(name)) : nullptr;
}

bool FilledBooklet::showPage(const QString& caption) const
{
    auto* tabs = component<QTabBar>("TabNoteBook");
    if (!tabs)
        return false;
    // A "&" of a caption shows doubled in its tab's text.
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i).remove(QLatin1Char('&')) ==
            QString(caption).remove(QLatin1Char('&'))) {
            tabs->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

QByteArray FilledBooklet::documentBytes()
{
    // 4321 bytes of a type the desktop does not know: "QQZZ file", 4 Ko.
    QByteArray content;
    for (int i = 0; i < 4321; ++i)
        content += char(i * 7 % 256);
    return content;
}

void FilledBooklet::startAndFill()
{
    QVERIFY(m_app->start());
    // The start-up's notice of reminders is not part of these journeys.
    MessageBox::clearShownMessages();
    for (void (FilledBooklet::*step)() :
         {&FilledBooklet::addVet, &FilledBooklet::addAnimal, &FilledBooklet::addConsultation,
          &FilledBooklet::addMedicine, &FilledBooklet::addVaccination, &FilledBooklet::addWeights,
          &FilledBooklet::addSizes, &FilledBooklet::addAnalysis, &FilledBooklet::addEvent,
          &FilledBooklet::addDocuments}) {
        (this->*step)();
        if (QTest::currentTestFailed())
            return;
    }
    QVERIFY2(MessageBox::shownMessages().isEmpty(),
             qPrintable(MessageBox::shownMessages().value(0).text));
}

void FilledBooklet::addVet()
{
    bool added = false;
    const auto list = ModalAnswer::when<TReferenceList>([&](TReferenceList* w) {
        const auto entry = ModalAnswer::when<TEnterDoctor>([](TEnterDoctor* e) {
            typeOver(editOf(e, "Ed_Name"), u(Facts::vet));
            typeOver(editOf(e, "DBEdit5"), u("Nice"));
            okOf(e)->click();
        });
        w->findChild<QPushButton*>(QStringLiteral("Btn_Add"))->click();
        added = entry.seen();
        w->findChild<QPushButton*>(QStringLiteral("Btn_Close"))->click();
    });
    QAction* item = action("Item_Praticiens");
    QVERIFY(item && item->isEnabled());
    item->trigger();
    QVERIFY(list.seen());
    QVERIFY(added);
}

void FilledBooklet::addAnimal()
{
    component<QAbstractButton>("Btn_Main_Add")->click();
    typeText(component<QLineEdit>("Ed_Name"), u(Facts::animal));
    component<QAbstractButton>("Btn_Species")->click();
    QVERIFY(chooseLine(u("Chien")));
    component<QAbstractButton>("Btn_Main_Record")->click();
    QCOMPARE(component<QLineEdit>("Ed_Name")->text(), u(Facts::animal));
}

void FilledBooklet::addConsultation()
{
    QVERIFY(showPage(u("Actes")));
    bool picked = false;
    const auto answer = ModalAnswer::when<TEnterConsult>([&](TEnterConsult* w) {
        picked = pickFor(editOf(w, "Ed_Doctor"), u(Facts::vet)) &&
                 pickFor(editOf(w, "Ed_Illness"), u(Facts::illness));
        typeOver(editOf(w, "Ed_Date"), digits(Facts::consultDate));
        typeOver(editOf(w, "Ed_Time"), u("1430"));
        typeOver(editOf(w, "Ed_Payment"), u("45"));
        auto* remark = w->findChild<QPlainTextEdit*>(QStringLiteral("Memo_Remark1"));
        remark->setFocus();
        typeText(remark, u(Facts::consultRemark));
        okOf(w)->click();
    });
    component<QAbstractButton>("Btn_Consult_Add")->click();
    QVERIFY(answer.seen());
    QVERIFY(picked);
}

void FilledBooklet::addMedicine()
{
    QVERIFY(showPage(u("Médicaments")));
    bool picked = false;
    const auto answer = ModalAnswer::when<TEnterDrugPharmacy>([&](TEnterDrugPharmacy* w) {
        picked = pickFor(editOf(w, "Ed_Drug"), u("Antiparasitaire externe en comprimé"));
        typeOver(editOf(w, "Ed_Date"), u("05032026"));
        typeOver(editOf(w, "Ed_Payment"), u("12,5"));
        okOf(w)->click();
    });
    component<QAbstractButton>("Btn_Pharmacy_Add")->click();
    QVERIFY(answer.seen());
    QVERIFY(picked);
}

void FilledBooklet::addVaccination()
{
    QVERIFY(showPage(u("Vaccins")));
    bool picked = false;
    const auto answer = ModalAnswer::when<TEnterVaccineExe>([&](TEnterVaccineExe* w) {
        typeOver(editOf(w, "Ed_Date"), digits(Facts::vaccineDate));
        picked = pickFor(editOf(w, "Ed_Vaccine"), u(Facts::vaccine));
        typeOver(editOf(w, "Ed_Date_Repeat"), digits(Facts::reminderDate));
        okOf(w)->click();
    });
    component<QAbstractButton>("Btn_Vaccine_Add")->click();
    QVERIFY(answer.seen());
    QVERIFY(picked);
}

namespace {

// Chooses the curve type of a chart of the weight & size page by its text
// in the chart's own menu.
bool chooseCurveType(QWidget* page, const char* kind, const QString& type)
{
    auto* menu = page->findChild<QMenu*>(QStringLiteral("Popup_Chart_%1_Type").arg(u(kind)));
    if (!menu)
        return false;
    emit menu->aboutToShow();
    for (QAction* a : menu->actions()) {
        if (a->text() == type) {
            a->trigger();
            return true;
        }
    }
    return false;
}

// Adds measures through the curve's value list, one entry window each.
void enterMeasures(QAbstractButton* edit, const QList<std::pair<const char*, const char*>>& rows)
{
    int entered = 0;
    const auto list = ModalAnswer::when<TChartValueList>([&](TChartValueList* w) {
        for (const auto& [date, value] : rows) {
            const auto entry = ModalAnswer::when<TEnterWeight>([&](TEnterWeight* e) {
                typeOver(editOf(e, "Ed_Date"), digits(date));
                typeOver(editOf(e, "Ed_Weight"), u(value));
                okOf(e)->click();
            });
            w->findChild<QAbstractButton*>(QStringLiteral("Btn_Value_Add"))->click();
            entered += entry.seen() ? 1 : 0;
        }
        w->findChild<QAbstractButton*>(QStringLiteral("Btn_Close"))->click();
    });
    edit->click();
    QVERIFY(list.seen());
    QCOMPARE(entered, int(rows.size()));
}

} // namespace

void FilledBooklet::addWeights()
{
    QVERIFY(showPage(u("Poids & taille")));
    QVERIFY(chooseCurveType(mainWindow(), "Weight", u("Dates")));
    enterMeasures(component<QAbstractButton>("Btn_Chart_Weight_Edit"),
                  {{"12/03/2021", "27,5"}, {"15/06/2022", "31"}});
}

void FilledBooklet::addSizes()
{
    QVERIFY(showPage(u("Poids & taille")));
    QVERIFY(chooseCurveType(mainWindow(), "Size", u("Dates")));
    enterMeasures(component<QAbstractButton>("Btn_Chart_Size_Edit"),
                  {{"12/03/2021", "52"}, {"15/06/2022", "58"}});
}

bool FilledBooklet::enterTargetWeight(const QString& min, const QString& max)
{
    if (!showPage(u("Poids & taille")))
        return false;
    auto* menu = mainWindow()->findChild<QMenu*>(QStringLiteral("Popup_Chart_Weight_Type"));
    if (!menu)
        return false;
    emit menu->aboutToShow();
    auto* item = menu->findChild<QAction*>(QStringLiteral("Item_TargetWeight"));
    if (!item)
        return false;
    bool accepted = false;
    const auto answer = ModalAnswer::when<TEnterTargetWeight>([&](TEnterTargetWeight* w) {
        typeOver(editOf(w, "Ed_Min"), min);
        typeOver(editOf(w, "Ed_Max"), max);
        okOf(w)->click();
        accepted = w->result() == QDialog::Accepted;
    });
    item->trigger();
    return answer.seen() && accepted;
}

void FilledBooklet::addAnalysis()
{
    QVERIFY(showPage(u("Analyses")));
    bool picked = false;
    const auto attach = ModalAnswer::when<TEnterAnimalAnalysis>([&](TEnterAnimalAnalysis* w) {
        w->findChild<QAbstractButton*>(QStringLiteral("Btn_Title"))->click();
        picked = chooseLine(u(Facts::analysis));
        okOf(w)->click();
    });
    component<QAbstractButton>("Btn_Analysis_Add")->click();
    QVERIFY(attach.seen());
    QVERIFY(picked);
    // Within the range, then above it.
    for (const auto& [date, value] : {std::pair{"10/04/2025", "42,5"}, {"18/10/2026", "61"}}) {
        const auto answer = ModalAnswer::when<TEnterAnalysisValue>([&](TEnterAnalysisValue* w) {
            typeOver(editOf(w, "Ed_Date"), digits(date));
            typeOver(editOf(w, "Ed_Value"), u(value));
            okOf(w)->click();
        });
        component<QAbstractButton>("Btn_AnalysisValue_Add")->click();
        QVERIFY(answer.seen());
    }
}

void FilledBooklet::addEvent()
{
    QVERIFY(showPage(u("Evénements")));
    const auto answer = ModalAnswer::when<TEnterEvents>([](TEnterEvents* w) {
        typeOver(editOf(w, "Ed_Event_Date"), digits(Facts::eventDate));
        typeOver(editOf(w, "Ed_Event_Time"), u("0815"));
        auto* description = w->findChild<QPlainTextEdit*>(QStringLiteral("Ed_Description"));
        description->setFocus();
        typeText(description, u(Facts::event));
        okOf(w)->click();
    });
    component<QAbstractButton>("Btn_Event_Add")->click();
    QVERIFY(answer.seen());
}

void FilledBooklet::addDocuments()
{
    QVERIFY(showPage(u("Documents")));
    const QString file = m_user.filePath(u(Facts::documentFile));
    QVERIFY(writeBytes(file, documentBytes()));
    FileDialog::setNextFileName(file);
    component<QAbstractButton>("Btn_Document_File_Add")->click();

    QImage radio(200, 100, QImage::Format_RGB888);
    radio.fill(QColor(90, 90, 90));
    const QString picture = m_user.filePath(u("radio.png"));
    QVERIFY(radio.save(picture));
    const auto answer = ModalAnswer::when<TEnterDocument>([&](TEnterDocument* w) {
        typeText(editOf(w, "Ed_Title"), u(Facts::imageTitle));
        FileDialog::setNextFileName(picture);
        w->findChild<QAbstractButton*>(QStringLiteral("Btn_Img"))->click();
        okOf(w)->click();
    });
    component<QAbstractButton>("Btn_Document_Img_Add")->click();
    QVERIFY(answer.seen());
}

} // namespace tav::test
