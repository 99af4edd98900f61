// Saves a picture of windows at their design size, filled with sample
// rows, so that a developer can look at them under a real display server:
//   xvfb-run -a build-test/tools/windowshots OUTPUT_FOLDER
// TAVIRUNE_PROGRAM_DIR must name the built program folder.
#include "AppFixture.h"

#include "booklet/ReminderNotice.h"
#include "booklet/TMainForm.h"
#include "booklet/pages/PhotoBox.h"
#include "booklet/pages/TGeneralPage.h"
#include "core/Settings.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/FieldFormat.h"
#include "db/ReminderStore.h"
#include "db/Schema.h"
#include "dialogs/TBackupList.h"
#include "dialogs/TCareEntry.h"
#include "dialogs/TConsultRepaymentList.h"
#include "dialogs/TEnterRepayment.h"
#include "dialogs/TPharmacyRepaymentList.h"
#include "dialogs/TPreviewImage.h"
#include "dialogs/TReferenceEntry.h"
#include "dialogs/TReferenceList.h"
#include "dialogs/TRepeatVaccineList.h"
#include "dialogs/TViewImage.h"
#include "media/JpegFile.h"
#include "ui/FileDialog.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

using namespace tav;

namespace {

void save(QWidget* window, const QString& folder)
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        std::fprintf(stderr, "not exposed: %s\n", window->metaObject()->className());
    QTest::qWait(50);
    const QString file = folder + QLatin1Char('/') +
                         QString::fromLatin1(window->metaObject()->className()) +
                         QStringLiteral(".png");
    window->grab().save(file);
    std::printf("%s %dx%d\n", qPrintable(file), window->width(), window->height());
    window->hide();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: windowshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QTemporaryDir dir;
    Connection connection;
    connection.open(dir.filePath(QStringLiteral("TAVIRUNE.MDB")), true);
    createSchema(connection);
    connection.exec(QString::fromUtf8(
        "INSERT INTO LST_DOCTOR (Name, Category, Address, City, CP, Phone, Email, Note) VALUES "
        "('Dr Martin', 'Dermatologie', '3 rue des Lilas', 'Nice', '06100', '0612345678', "
        "'martin@vet.fr', 'Sur rendez-vous'), ('Clinique vétérinaire de l''Étang', "
        "'Urgences', '12 avenue du Port', 'Antibes', '06600', '0493000000', '', '')"));
    connection.exec(QString::fromUtf8(
        "INSERT INTO LST_DRUG (Title, Description) VALUES ('Milbemax', 'Vermifuge chat et "
        "chien'), ('Bravecto', 'Antiparasitaire externe, comprimé à croquer')"));
    DataModule1 module(connection, dir.path());

    TDoctorList doctors(module);
    doctors.open();
    save(&doctors, folder);
    doctors.dataSet().first();
    doctors.dataSet().edit();
    TEnterDoctor doctor(doctors.dataSet(), module.dataSet(QStringLiteral("ComboItems")));
    save(&doctor, folder);
    doctor.reject();

    TPharmacyList pharmacies(module);
    pharmacies.open();
    pharmacies.dataSet().append();
    TEnterPharmacy pharmacy(pharmacies.dataSet());
    save(&pharmacy, folder);
    pharmacy.reject();

    TDrugList drugs(module);
    drugs.open();
    save(&drugs, folder);
    drugs.dataSet().first();
    drugs.dataSet().edit();
    TEnterDrug drug(drugs.dataSet());
    save(&drug, folder);
    drug.reject();

    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    DataSet& action = module.dataSet(QStringLiteral("Action"));
    for (const char* money : {"Price", "Price_Repayment", "Price_Repayment_Comp"})
        action.setDisplayFormat(QString::fromLatin1(money), moneyFormat(QString::fromUtf8("€")));
    connection.exec(QString::fromUtf8(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Date_Action, Time_Action, Price, Gravity, "
        "Remark1, Remark2, Date_Repayment, Price_Repayment, Price_Repayment_Comp) VALUES (1, 1, "
        "1, '2026-03-02', '14:30', 45, 'Bénigne', 'Démangeaisons', 'Shampooing deux fois par "
        "semaine', '2026-03-20', 30.5, 10)"));
    action.open();
    action.first();
    action.edit();
    TEnterConsult consult(action, module.dataSet(QStringLiteral("ComboItems")));
    save(&consult, folder);
    consult.reject();
    action.append();
    TEnterDrugPharmacy purchase(action);
    save(&purchase, folder);
    purchase.reject();
    action.first();
    action.edit();
    TEnterRepayment repayment(action, 1);
    save(&repayment, folder);
    repayment.reject();
    action.cancel();

    connection.exec(QStringLiteral("INSERT INTO LST_VACCINE (Title) VALUES ('Rage')"));
    connection.exec(QStringLiteral("INSERT INTO VACCINE (Id_Ref, Id_Org, Id_Vaccine, "
                                   "Date_Vaccine, Repeat_Date, Remark1) VALUES (1, 1, 1, "
                                   "'2026-03-02', '2027-03-02', 'Lot 4411B')"));
    DataSet& vaccine = module.dataSet(QStringLiteral("Vaccine"));
    vaccine.open();
    vaccine.first();
    vaccine.edit();
    TEnterVaccineExe vaccination(vaccine);
    save(&vaccination, folder);
    vaccination.reject();
    vaccine.cancel();
    vaccine.close();

    connection.exec(QString::fromUtf8(
        "INSERT INTO BACKUP (DateSav, TimeSav, Description, Path) VALUES ('2026-12-01', '18:02', "
        "'Sauvagarde de la base de données', '/home/marie/Documents/Orvandel/Tavirune/Backup/"
        "TAVIRUNE_ACCESS_BACKUP_01_12_2026.bkp'), ('2026-12-09', '09:15', 'Compactage de la "
        "base de données', '/home/marie/Documents/Orvandel/Tavirune/Data/Access/TAVIRUNE.MDB')"));
    {
        TBackupList historyWindow(module);
        save(&historyWindow, folder);
    }
    action.close();
    drugs.dataSet().close();
    doctors.dataSet().close();

    {
        // The reimbursement and reminder tables of animal 1.
        DataModule2 tables(connection);
        tables.dataSet(QStringLiteral("ConsultRepaymentQuery"))
            .setDisplayFormat(QStringLiteral("Price"), moneyFormat(QString::fromUtf8("€")));
        connection.exec(QString::fromUtf8(
            "INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Drug, Date_Action, Time_Action, Price, "
            "Repayment, Remark1) VALUES (1, 1, 2, NULL, '2026-06-12', '09:15', 62, 0, 'Vaccins et "
            "contrôle annuel'), (1, 2, 1, 1, '2026-06-12', '10:00', 18.4, 0, 'Une boîte')"));
        connection.exec(QStringLiteral("UPDATE [ACTION] SET Id_Drug=1 WHERE Tag=2"));
        connection.exec(QStringLiteral("INSERT INTO LST_PHARMACY (Name) VALUES ('Pharmacie du "
                                       "Port')"));
        ReminderStore(connection).refreshVaccineReminders(1);
        TConsultRepaymentList acts(tables, 1);
        save(&acts, folder);
        TPharmacyRepaymentList medicines(tables, 1);
        save(&medicines, folder);
        TRepeatVaccineList reminders(tables, 1);
        save(&reminders, folder);
    }
    {
        // The start-up notice with a late reminder and two coming ones.
        Settings settings;
        QVector<DueReminder> due(3);
        const char* names[][2] = {{"Médor", "Rage"},
                                  {"Caramel", "Typhus, coryza et leucose"},
                                  {"Pépite de Montfort-l'Amaury", "CHPPIL"}};
        const int days[] = {-12, 0, 6};
        for (int i = 0; i < 3; ++i) {
            due[i].animalName = QString::fromUtf8(names[i][0]);
            due[i].vaccineTitle = QString::fromUtf8(names[i][1]);
            due[i].reminderDate = QDate(2026, 12, 9).addDays(days[i]);
        }
        ReminderNotice notice(due, QDate(2026, 12, 9), settings);
        save(&notice, folder);
    }

    // The main window at its first-launch size, on each page that has rows.
    AppFixture booklet;
    booklet.installTemplate();
    if (!booklet.start())
        return 1;
    {
        // A new user's first sight: the empty booklet.
        TMainForm* empty = booklet.startup()->mainForm();
        empty->resize(800, 600);
        QTest::qWait(50);
        const QString file = folder + QStringLiteral("/TMainForm-empty.png");
        empty->grab().save(file);
        std::printf("%s %dx%d\n", qPrintable(file), empty->width(), empty->height());
    }
    booklet.stop();
    {
        Connection data;
        data.open(booklet.dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        data.exec(QString::fromUtf8(
            "INSERT INTO ANIMAL (Name, Id_Species) VALUES ('Médor', (SELECT Id FROM "
            "ANIMAL_SPECIES WHERE Title='Chien'))"));
        data.exec(QString::fromUtf8(
            "INSERT INTO LST_DOCTOR (Name, Category) VALUES ('Dr Martin', 'Dermatologie')"));
        data.exec(QString::fromUtf8(
            "INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Date_Action, Time_Action, Price, "
            "Repayment, Price_Repayment, Repayment_Comp, Price_Repayment_Comp, Remark1) VALUES "
            "(1, 1, 1, '2026-03-02', '14:30', 45, 1, 30.5, 1, 10, 'Démangeaisons'), (1, 1, 1, "
            "'2026-06-12', '09:15', 62, 0, 0, 0, 0, 'Vaccins et contrôle')"));
        data.exec(QString::fromUtf8(
            "INSERT INTO VACCINE (Id_Ref, Id_Org, Id_Vaccine, Date_Vaccine, Repeat_Date) VALUES "
            "(1, 1, 1, '2025-11-01', '2026-11-01'), (1, 1, 2, '2026-06-12', '2027-06-12')"));
    }
    if (!booklet.start())
        return 1;
    TMainForm* form = booklet.startup()->mainForm();
    form->resize(800, 600);
    // Médor's photo: a warm ground and a round face, 640 x 480.
    QImage photo(640, 480, QImage::Format_RGB888);
    {
        QPainter p(&photo);
        QLinearGradient ground(0, 0, 0, 480);
        ground.setColorAt(0, QColor(250, 220, 160));
        ground.setColorAt(1, QColor(150, 110, 60));
        p.fillRect(photo.rect(), ground);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(120, 80, 40));
        p.drawEllipse(QPointF(320, 260), 150, 140);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(270, 230), 22, 22);
        p.drawEllipse(QPointF(370, 230), 22, 22);
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(320, 300), 30, 20);
    }
    const QString photoFile = dir.filePath(QStringLiteral("medor.jpg"));
    if (!writeJpegFile(photo, photoFile, 90))
        return 1;
    FileDialog::setNextFileName(photoFile);
    form->page<tav::TGeneralPage>()->photoBox()->Btn_Select_ImgClick();
    {
        TViewImage viewer(form);
        viewer.loadFile(form->page<tav::TGeneralPage>()->photoBox()->photoPath());
        save(&viewer, folder);
        TPreviewImage preview(nullptr, form);
        preview.setTitle(QStringLiteral("Photo"));
        preview.setFiles({form->page<tav::TGeneralPage>()->photoBox()->photoPath()});
        preview.openAt(-1, 1);
        preview.resize(524, 566);
        save(&preview, folder);
    }
    // Every page at the first-launch size and at a common larger one.
    for (const QSize& size : {QSize(800, 600), QSize(1280, 1024)}) {
        form->resize(size);
        for (int page = 0; page < 8; ++page) {
            form->findChild<QTabBar*>(QStringLiteral("TabNoteBook"))->setCurrentIndex(page);
            QTest::qWait(50);
            const QString file =
                folder + QStringLiteral("/TMainForm-%1-page%2.png").arg(size.width()).arg(page);
            form->grab().save(file);
            std::printf("%s %dx%d\n", qPrintable(file), form->width(), form->height());
        }
    }
    booklet.stop();
    return 0;
}
