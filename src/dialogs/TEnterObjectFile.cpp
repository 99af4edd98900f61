#include "dialogs/TEnterObjectFile.h"

#include "documents/DocumentLibrary.h"
#include "ui/FileDialog.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui_TEnterObjectFile.h"

#include <QFileInfo>
#include <QPixmap>

namespace {

constexpr int kRemarkLength = 255;

} // namespace

TEnterObjectFile::TEnterObjectFile(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TEnterObjectFile>())
{
    m_ui->setupUi(this);
    m_ui->Btn_Ok->setEnabled(false);
    connect(m_ui->Btn_Select, &QPushButton::clicked, this, &TEnterObjectFile::selectFile);
    connect(m_ui->Memo_Remark, &QPlainTextEdit::textChanged, this, &TEnterObjectFile::limitRemark);
    connect(m_ui->Btn_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    tav::prepareWindow(this, false);
}

TEnterObjectFile::~TEnterObjectFile() = default;

void TEnterObjectFile::selectFile()
{
    const QString path = tav::FileDialog::getOpenFileName(
        this, QString::fromUtf8("Sélectionnez un fichier"), QString(), QStringLiteral("Tous|*.*"));
    if (!path.isEmpty())
        setSelectedFile(path);
}

void TEnterObjectFile::setSelectedFile(const QString& path)
{
    m_selected = path;
    const QFileInfo info(path);
    if (!info.exists()) {
        tav::MessageBox::error(this, QStringLiteral("Fichier \"") + info.fileName() +
                                         QStringLiteral("\" introuvable."));
        return;
    }
    const tav::FileDescription d = tav::describeFile(path);
    m_ui->Lab_Name->setText(d.name);
    m_ui->Lab_Type->setText(d.type);
    m_ui->Lab_Size->setText(d.sizeText);
    m_ui->Img_Icon->setPixmap(d.icon.isNull() ? QPixmap() : QPixmap::fromImage(d.icon));
    m_ui->Btn_Ok->setEnabled(!d.name.isEmpty());
}

QString TEnterObjectFile::remark() const
{
    return m_ui->Memo_Remark->toPlainText();
}

void TEnterObjectFile::limitRemark()
{
    const QString text = m_ui->Memo_Remark->toPlainText();
    if (text.size() > kRemarkLength) {
        m_ui->Memo_Remark->setPlainText(text.left(kRemarkLength));
        m_ui->Memo_Remark->moveCursor(QTextCursor::End);
    }
}

QLabel* TEnterObjectFile::nameLabel() const
{
    return m_ui->Lab_Name;
}

QLabel* TEnterObjectFile::typeLabel() const
{
    return m_ui->Lab_Type;
}

QLabel* TEnterObjectFile::sizeLabel() const
{
    return m_ui->Lab_Size;
}

QLabel* TEnterObjectFile::iconLabel() const
{
    return m_ui->Img_Icon;
}

QPushButton* TEnterObjectFile::okButton() const
{
    return m_ui->Btn_Ok;
}
