#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace tav {

class Connection;

// The identity of an animal as its booklet page shows it. Dates of the
// animal are the texts "dd/mm/yyyy" it stores; an empty number reads 0.
struct BookletAnimal
{
    int id = -1;
    QString name;
    QString species;
    QString breed;
    QString sex;
    QString colour;
    bool pedigree = false;
    bool sterilized = false;
    QString identificationNo;
    QString identificationType;
    QString identificationLocation;
    QString description;
    QString comportment;
    QString birthDate;
    double birthWeight = 0;
    double birthSize = 0;
    QString birthCity;
    QString beginDate;
    double beginWeight = 0;
    double beginSize = 0;
    QString beginBreeder;
    QString endDate;
    double endWeight = 0;
    double endSize = 0;
    QString endType;
    QString previous;
    QString insurance;
    QStringList misc;   // the twelve custom values, Misc01 first
    QByteArray photo;   // the photo's thumbnail as stored (BMP), may be empty
    int weightMode = 0; // the curves' stored modes; 0 when never chosen
    int sizeMode = 0;
};

// A weight or a size; the date is "dd/mm/yyyy".
struct BookletMeasure
{
    QString date;
    double value = 0;
    QString remark;
};

// A consultation or a medicine purchase. `party` is the practitioner or
// the pharmacy, `subject` the illness or the medicine, each with the
// detail shown between brackets after it (category or gravity).
struct BookletAct
{
    QString date;
    QString time;
    double price = 0;
    QString party;
    QString partyDetail;
    QString subject;
    QString subjectDetail;
    QString gravity;
    QString repaymentDate;
    double repaymentPrice = 0;
};

struct BookletVaccination
{
    QString date;
    QString repeatDate;
    QString vaccine;
    QString vaccineCategory;
    QString doctor;
    QString doctorCategory;
    QString remark;
};

struct BookletEvent
{
    QString date;
    QString description;
};

// An attached file: its stored content is Files/File<id>.f.
struct BookletFile
{
    int id = 0;
    QString fileName;
    QString fileType;
    QString fileSize;
    QByteArray icon; // BMP as stored, may be empty
};

// An image document: its picture is Images/Doc<id>.jpg.
struct BookletImage
{
    int id = 0;
    QString title;
    QByteArray thumbnail; // BMP as stored, may be empty
};

// Everything one booklet page shows, read in one go.
struct BookletData
{
    BookletAnimal animal;
    QStringList customLabels; // twelve captions
    QVector<BookletMeasure> weights;
    QVector<BookletMeasure> sizes;
    QVector<BookletAct> consultations;
    QVector<BookletAct> medicines;
    QVector<BookletVaccination> vaccinations;
    QVector<BookletEvent> events;
    QVector<BookletFile> files;
    QVector<BookletImage> images;
};

// The reads of the HTML booklet and table pages. Keys are bound, never
// pasted; dates of the history tables come as "dd/mm/yyyy". Every method
// throws DbError.
class HtmlBookletStore
{
public:
    enum class Acts { All, NotReimbursed };

    explicit HtmlBookletStore(Connection& connection) : m_connection(connection) {}

    // The whole booklet; an unknown animal gives an id of -1 and no rows.
    BookletData booklet(int animalId) const;

    // Consultations (Tag 1) or medicine purchases (Tag 2) by date and time.
    QVector<BookletAct> consultations(int animalId, Acts which) const;
    QVector<BookletAct> medicines(int animalId, Acts which) const;
    // The vaccinations whose stored reminder flag says it is still due.
    QVector<BookletVaccination> dueReminders(int animalId) const;

private:
    QVector<BookletAct> acts(int animalId, int tag, Acts which) const;

    Connection& m_connection;
};

} // namespace tav
