#include "ui/MessageBox.h"

#include "core/AppInfo.h"

#include <QApplication>
#include <QMessageBox>
#include <QMutex>
#include <QMutexLocker>
#include <QPushButton>
#include <QQueue>

namespace tav {

namespace {

struct Seam
{
    QMutex mutex;
    bool testMode = false;
    QQueue<MessageBox::Answer> answers;
    QList<MessageBox::Shown> shown;
};

Seam& seam()
{
    static Seam instance;
    return instance;
}

QMessageBox::Icon iconOf(MessageBox::Kind kind)
{
    switch (kind) {
    case MessageBox::Kind::Information:
        return QMessageBox::Information;
    case MessageBox::Kind::Warning:
        return QMessageBox::Warning;
    case MessageBox::Kind::Error:
        return QMessageBox::Critical;
    case MessageBox::Kind::Question:
        return QMessageBox::Question;
    case MessageBox::Kind::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

MessageBox::Answer fallbackAnswer(MessageBox::Kind kind)
{
    return kind == MessageBox::Kind::Question ? MessageBox::Answer::No : MessageBox::Answer::Ok;
}

} // namespace

QString MessageBox::displayText(const QString& text)
{
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

MessageBox::Answer MessageBox::show(QWidget* parent, Kind kind, const QString& text)
{
    {
        Seam& s = seam();
        QMutexLocker lock(&s.mutex);
        if (s.testMode) {
            s.shown.append(Shown{kind, text});
            return s.answers.isEmpty() ? fallbackAnswer(kind) : s.answers.dequeue();
        }
    }

    // A box needs a widget application; without one (a command-line tool,
    // a test without a display) the message still reaches the user.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        qWarning("%s", qPrintable(displayText(text)));
        return fallbackAnswer(kind);
    }

    QMessageBox box(parent);
    box.setWindowTitle(appinfo::productName());
    box.setIcon(iconOf(kind));
    // Error texts come from the database and the file system and may hold
    // "<" or "&": they must never be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(text));

    if (kind != Kind::Question) {
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        box.exec();
        return Answer::Ok;
    }

    QPushButton* yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    // Any way of leaving the box other than Oui, closing it included, is a No.
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

void MessageBox::information(QWidget* parent, const QString& text)
{
    show(parent, Kind::Information, text);
}

void MessageBox::warning(QWidget* parent, const QString& text)
{
    show(parent, Kind::Warning, text);
}

void MessageBox::error(QWidget* parent, const QString& text)
{
    show(parent, Kind::Error, text);
}

void MessageBox::plain(QWidget* parent, const QString& text)
{
    show(parent, Kind::Plain, text);
}

bool MessageBox::question(QWidget* parent, const QString& text)
{
    return show(parent, Kind::Question, text) == Answer::Yes;
}

void MessageBox::setTestMode(bool on)
{
    Seam& s = seam();
    QMutexLocker lock(&s.mutex);
    s.testMode = on;
}

bool MessageBox::testMode()
{
    Seam& s = seam();
    QMutexLocker lock(&s.mutex);
    return s.testMode;
}

void MessageBox::setNextAnswer(Answer answer)
{
    Seam& s = seam();
    QMutexLocker lock(&s.mutex);
    s.answers.enqueue(answer);
}

void MessageBox::clearNextAnswers()
{
    Seam& s = seam();
    QMutexLocker lock(&s.mutex);
    s.answers.clear();
}

QList<MessageBox::Shown> MessageBox::shownMessages()
{
    Seam& s = seam();
    QMutexLocker lock(&s.mutex);
    return s.shown;
}

void MessageBox::clearShownMessages()
{
    Seam& s = seam();
    QMutexLocker lock(&s.mutex);
    s.shown.clear();
}

void showError(QWidget* parent, const QString& text)
{
    MessageBox::error(parent, text);
}

} // namespace tav
