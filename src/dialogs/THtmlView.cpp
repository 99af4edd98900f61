#include "dialogs/THtmlView.h"

#include "core/TextLookup.h"
#include "core/TextRoutines.h"
#include "output/HtmlBookletMarkup.h"
#include "ui/FileDialog.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui_THtmlView.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace tav;

namespace {

// A browser makes a 1 % column as wide as its longest word; the text
// browser makes it 1 % wide and breaks dates letter by letter. Such columns
// are left to size themselves, on one line, here only.
QString forTextBrowser(QString page)
{
    page.replace(QLatin1String(" width=\"1%\""), QString());
    page.replace(QLatin1String(" nowrap"), QLatin1String(" style=\"white-space:nowrap\""));
    return page;
}

// The generated pages are written in Windows-1252, which the text browser
// does not read by itself: it gets them decoded.
class PageBrowser : public QTextBrowser
{
public:
    explicit PageBrowser(QWidget* parent) : QTextBrowser(parent)
    {
        setObjectName(QStringLiteral("WebBrowser"));
        setOpenLinks(false);
    }

    QVariant loadResource(int type, const QUrl& name) override
    {
        if (type == QTextDocument::HtmlResource) {
            const QUrl url = source().isValid() ? source().resolved(name) : name;
            QFile file(url.toLocalFile());
            if (file.open(QIODevice::ReadOnly))
                return forTextBrowser(html::fromWindows1252(file.readAll()));
        }
        return QTextBrowser::loadResource(type, name);
    }
};

QString decodedPage(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? html::fromWindows1252(file.readAll()) : QString();
}

QString unescapedAttribute(QString value)
{
    value.replace(QLatin1String("&quot;"), QLatin1String("\""));
    value.replace(QLatin1String("&#39;"), QLatin1String("'"));
    value.replace(QLatin1String("&lt;"), QLatin1String("<"));
    value.replace(QLatin1String("&gt;"), QLatin1String(">"));
    value.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return value;
}

// A file of the page's own folder: a bare name, no way out of it.
bool bareName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

// The popup page named in a "javascript:centerwindow("doc5.htm", ...)" link.
QString popupPage(const QString& link)
{
    static const QRegularExpression re(QStringLiteral("centerwindow\\(\"([^\"]+)\""));
    const QRegularExpressionMatch m = re.match(link);
    return m.hasMatch() ? m.captured(1) : QString();
}

void addReferences(const QString& page, QStringList& names, bool followPopups)
{
    const QString folder = QFileInfo(page).absolutePath() + QLatin1Char('/');
    static const QRegularExpression attribute(QStringLiteral("\\b(?:src|href)=\"([^\"]*)\""),
                                              QRegularExpression::CaseInsensitiveOption);
    const QString text = decodedPage(page);
    auto it = attribute.globalMatch(text);
    while (it.hasNext()) {
        const QString value = unescapedAttribute(it.next().captured(1));
        QString name;
        bool popup = false;
        if (value.startsWith(QLatin1String("javascript:"), Qt::CaseInsensitive)) {
            name = popupPage(value);
            popup = true;
        } else if (!value.contains(QLatin1Char(':'))) {
            name = QUrl::fromPercentEncoding(value.toUtf8());
        }
        if (!bareName(name) || names.contains(name) || !QFileInfo::exists(folder + name))
            continue;
        names << name;
        if (popup && followPopups)
            addReferences(folder + name, names, false);
    }
}

// Copies under a temporary name beside the target, then replaces it.
bool copyReplacing(const QString& source, const QString& target)
{
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return true;
    QFile in(source);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size())
            return false;
    }
    return out.commit();
}

} // namespace

THtmlView::THtmlView(const QString& pagePath, const QString& title, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::THtmlView>()), m_pagePath(pagePath), m_title(title)
{
    m_ui->setupUi(this);
    m_browser = new PageBrowser(m_ui->Pan_Browser);
    m_ui->Pan_Browser->layout()->addWidget(m_browser);
    m_ui->Title->setText(title);
    // The page is written in the data folder's Html/Temp; a copy the user
    // keeps goes to Html, beside the working folder.
    m_saveFolder = trailingSeparator(
        QDir::cleanPath(QFileInfo(pagePath).absoluteDir().absoluteFilePath(QStringLiteral(".."))));
    connect(m_browser, &QTextBrowser::anchorClicked, this, &THtmlView::followLink);
    connect(m_ui->Btn_Print, &QPushButton::clicked, this, &THtmlView::Btn_PrintClick);
    connect(m_ui->Btn_Save, &QPushButton::clicked, this, &THtmlView::Btn_SaveClick);
    connect(m_ui->Btn_Pdf, &QPushButton::clicked, this, &THtmlView::Btn_PdfClick);
    connect(m_ui->Btn_Close, &QPushButton::clicked, this, &QDialog::accept);
    prepareWindow(this, false);
    resize(720, 488);
}

THtmlView::~THtmlView() = default;

void THtmlView::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    setWindowTitle(windowCaption(m_title));
    showPage();
}

void THtmlView::showPage()
{
    m_browser->setSource(QUrl::fromLocalFile(QFileInfo(m_pagePath).absoluteFilePath()),
                         QTextDocument::HtmlResource);
}

void THtmlView::followLink(const QUrl& url)
{
    const QString folder = QFileInfo(m_pagePath).absolutePath() + QLatin1Char('/');
    if (url.scheme() == QLatin1String("javascript")) {
        // A thumbnail opens its picture page in a window of its own, as the
        // page's script does in a browser.
        const QString name = popupPage(url.path(QUrl::FullyDecoded));
        if (!bareName(name) || !QFileInfo::exists(folder + name))
            return;
        auto* popup = new QDialog(this);
        popup->setObjectName(QStringLiteral("PictureWindow"));
        popup->setAttribute(Qt::WA_DeleteOnClose);
        auto* layout = new QVBoxLayout(popup);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* view = new PageBrowser(popup);
        layout->addWidget(view);
        view->setSource(QUrl::fromLocalFile(folder + name), QTextDocument::HtmlResource);
        popup->setWindowTitle(view->documentTitle());
        popup->resize(600, 500);
        popup->show();
        return;
    }
    if (url.isRelative()) {
        const QString name = url.path();
        if (bareName(name) && QFileInfo::exists(folder + name))
            QDesktopServices::openUrl(QUrl::fromLocalFile(folder + name));
        return;
    }
    QDesktopServices::openUrl(url);
}

void THtmlView::Btn_PrintClick()
{
    if (m_printer) {
        m_browser->document()->print(m_printer);
        return;
    }
    if (QPrinterInfo::defaultPrinter().isNull()) {
        MessageBox::error(this, QStringLiteral("Aucune imprimante n'est installée : la page "
                                               "ne peut pas être imprimée."));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    m_browser->document()->print(&printer);
}

QStringList THtmlView::referencedFiles(const QString& pagePath)
{
    QStringList names;
    addReferences(pagePath, names, true);
    names.removeAll(QFileInfo(pagePath).fileName());
    return names;
}

void THtmlView::Btn_SaveClick()
{
    QString chosen = FileDialog::getSaveFileName(this, texts::saveHtmlTitle(),
                                                 m_saveFolder + QStringLiteral("index.htm"),
                                                 QStringLiteral("Page web|*.htm;*.html"));
    if (chosen.isEmpty() || !QFileInfo::exists(m_pagePath))
        return;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QStringLiteral(".htm");
    const QString folder = QFileInfo(m_pagePath).absolutePath() + QLatin1Char('/');
    const QString destination = QFileInfo(chosen).absolutePath() + QLatin1Char('/');
    // Exactly what the page shows: its pictures, charts, picture pages and
    // attached files, never what an earlier page left in the folder.
    QStringList failed;
    for (const QString& name : referencedFiles(m_pagePath))
        if (!copyReplacing(folder + name, destination + name))
            failed << name;
    if (!copyReplacing(m_pagePath, chosen))
        failed << QFileInfo(chosen).fileName();
    if (!failed.isEmpty())
        MessageBox::error(this, QStringLiteral("La page n'a pas pu être enregistrée "
                                               "entièrement dans « %1 ».\rFichiers non "
                                               "copiés : %2")
                                    .arg(QDir::toNativeSeparators(destination),
                                         failed.join(QStringLiteral(", "))));
}

void THtmlView::Btn_PdfClick()
{
    QString chosen = FileDialog::getSaveFileName(this, QStringLiteral("Enregistrer en PDF"),
                                                 m_saveFolder + windowCaption(m_title).trimmed() +
                                                     QStringLiteral(".pdf"),
                                                 QStringLiteral("Document PDF|*.pdf"));
    if (chosen.isEmpty())
        return;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QStringLiteral(".pdf");
    // Written beside the target, then put in place: an earlier PDF of that
    // name survives a failure.
    const QString partial = chosen + QStringLiteral(".part");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(partial);
    printer.setDocName(windowCaption(m_title).trimmed());
    m_browser->document()->print(&printer);
    const bool written = QFileInfo(partial).size() > 0 &&
                         (!QFile::exists(chosen) || QFile::remove(chosen)) &&
                         QFile::rename(partial, chosen);
    if (!written) {
        QFile::remove(partial);
        MessageBox::error(this, QStringLiteral("Le fichier « %1 » n'a pas pu être écrit.")
                                    .arg(QDir::toNativeSeparators(chosen)));
    }
}

void THtmlView::SysMaxiBtnClick()
{
    if (isMaximized())
        showNormal();
    else
        showMaximized();
    applyWindowState();
}

void THtmlView::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        applyWindowState();
}

void THtmlView::applyWindowState()
{
    const bool maximised = isMaximized();
    m_ui->SysMaxiBtn->setToolTip(maximised ? texts::minimizeWindows() : texts::maximizeWindows());
    // A maximised window has no size to drag.
    m_ui->RezisePad->setVisible(!maximised);
}
