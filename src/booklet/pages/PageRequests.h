#pragma once

#include <QImage>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>

namespace tav {

// One file handed to the e-mail window, as the page describes it.
struct DocumentAttachment
{
    int id = 0;
    QString path; // a private copy, which the sending may read
    QString type;
    QString size; // "12 Ko"
    QImage icon;  // 32 x 32

    // The e-mail window's entry: "000012%&a%path%&b%type%&c%size%&d%".
    QString entry() const;
};

// What the image preview window is asked to show.
struct DocumentPreview
{
    QString title;      // "Document - Image"
    QStringList files;  // the animal's pictures, in list order
    QStringList titles; // their titles
    int current = 0;    // the one shown first
    bool print = false; // print at once rather than only show
};

} // namespace tav

Q_DECLARE_METATYPE(tav::DocumentAttachment)
Q_DECLARE_METATYPE(tav::DocumentPreview)
