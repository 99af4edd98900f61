#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace tav {

// Every message box of the program goes through this class, so that all of
// them share one title, French buttons and line-break handling, and so that
// tests can answer them without a display.
class MessageBox
{
public:
    enum class Kind { Plain, Information, Warning, Error, Question };
    enum class Answer { Ok, Yes, No };
    struct Shown
    {
        Kind kind;
        QString text; // as given by the caller, line breaks unconverted
    };

    // Shows a modal box (OK only, or Oui/Non for a question) and returns
    // the button chosen. Closing a question with Escape answers No.
    static Answer show(QWidget* parent, Kind kind, const QString& text);
    static void information(QWidget* parent, const QString& text);
    static void warning(QWidget* parent, const QString& text);
    static void error(QWidget* parent, const QString& text);
    static void plain(QWidget* parent, const QString& text);
    // Yes/No with a question icon; true on Yes.
    static bool question(QWidget* parent, const QString& text);

    // Test seam: in test mode no dialog is ever shown; each message is
    // recorded and answered with the next queued answer (Ok for messages,
    // No for questions when none is queued). The file dialogs follow the
    // same switch.
    static void setTestMode(bool on);
    static bool testMode();
    static void setNextAnswer(Answer answer);
    static void clearNextAnswers();
    static QList<Shown> shownMessages();
    static void clearShownMessages();

    // The texts of the program break lines with "\r" or "\r\n".
    static QString displayText(const QString& text);
};

// The application's general error display: shows the error's own text.
void showError(QWidget* parent, const QString& text);

} // namespace tav
