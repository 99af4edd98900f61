#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TBackupList;
}

namespace tav {
class DataSet;
class DataModule1;
} // namespace tav

class QTableView;

// The history of backups, restores and compactions, in table order, with
// the command that purges it. The archives themselves are never deleted.
class TBackupList : public QDialog
{
    Q_OBJECT

public:
    // Opens the history. Throws DbError.
    explicit TBackupList(tav::DataModule1& module, QWidget* parent = nullptr);
    ~TBackupList() override;

    QTableView* grid() const;
    void Btn_DeleteClick();

protected:
    void done(int result) override;

private:
    void applyButtonRule();

    std::unique_ptr<Ui::TBackupList> m_ui;
    tav::DataModule1& m_module;
    tav::DataSet& m_backup;
};
