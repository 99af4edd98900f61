#include "dialogs/TBackupList.h"

#include "core/TextLookup.h"
#include "db/BackupHistory.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DataSetModel.h"
#include "db/DbError.h"
#include "ui/FramedWindow.h"
#include "ui/GridLook.h"
#include "ui/MessageBox.h"
#include "ui_TBackupList.h"

#include <QApplication>
#include <QHeaderView>

using namespace tav;

TBackupList::TBackupList(DataModule1& module, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TBackupList>()), m_module(module),
      m_backup(module.dataSet(QStringLiteral("Backup")))
{
    m_ui->setupUi(this);
    m_backup.open();
    QTableView* grid = m_ui->Grid_Backup;
    grid->setModel(new DataSetModel(&m_backup, this));
    styleListGrid(grid);
    grid->horizontalHeader()->setStretchLastSection(true);
    // A long path keeps its file name in sight.
    grid->setTextElideMode(Qt::ElideMiddle);
    for (int column = 0; column < grid->model()->columnCount(); ++column) {
        const QSize hint =
            grid->model()->headerData(column, Qt::Horizontal, Qt::SizeHintRole).toSize();
        if (hint.isValid() && column + 1 < grid->model()->columnCount())
            grid->setColumnWidth(column, hint.width());
    }
    connect(m_ui->Btn_Delete, &QPushButton::clicked, this, &TBackupList::Btn_DeleteClick);
    connect(m_ui->Btn_Close, &QPushButton::clicked, this, &QDialog::accept);
    applyButtonRule();
    prepareWindow(this, false);
}

TBackupList::~TBackupList()
{
    m_backup.close();
}

QTableView* TBackupList::grid() const
{
    return m_ui->Grid_Backup;
}

void TBackupList::applyButtonRule()
{
    m_ui->Btn_Delete->setEnabled(m_backup.isOpen() && !m_backup.isEmpty());
}

void TBackupList::Btn_DeleteClick()
{
    if (!MessageBox::question(this, texts::purgeBackupHistory()))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        clearBackupHistory(m_module.connection());
        m_backup.disableControls();
        m_backup.close();
        m_backup.open();
        m_backup.enableControls();
    } catch (const DbError& e) {
        m_backup.enableControls();
        QApplication::restoreOverrideCursor();
        showError(this, e.message());
        applyButtonRule();
        return;
    }
    QApplication::restoreOverrideCursor();
    applyButtonRule();
}

void TBackupList::done(int result)
{
    m_backup.close();
    QDialog::done(result);
}
