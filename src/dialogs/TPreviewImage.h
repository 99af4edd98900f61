#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QStringList>
#include <QVector>

#include "db/DataSet.h"
#include "dialogs/ImagePrinting.h"

#include <memory>

namespace Ui {
class TPreviewImage;
}

namespace tav {
class Connection;
}

class QLabel;
class QPrinter;
class QScrollArea;
class QToolButton;

// The picture preview: browses a list of pictures, shows the current one
// in three zoom modes, prints pictures one per page and saves a copy of
// the current one.
class TPreviewImage : public QDialog
{
    Q_OBJECT

public:
    // The list query runs on the connection; without one, the pictures
    // are given as files.
    explicit TPreviewImage(tav::Connection* connection, QWidget* parent = nullptr);
    ~TPreviewImage() override;

    // Parameters, set before opening.
    void setTitle(const QString& title);
    void setZoomMode(int mode);
    void setPictureFolder(const QString& folder);
    void setFilePrefix(const QString& prefix);
    void setListQuery(const QString& sql);
    // A query given by lines, its WHERE line replaced by the filter.
    void setListQuery(const QStringList& lines, const QVector<tav::DataSet::FilterTerm>& filter);
    // The pictures as files instead of a query, with their titles; a
    // picture without a title is titled with its file's name.
    void setFiles(const QStringList& files, const QStringList& titles = QStringList());

    // Places the window (placement 2 covers the work area, any other an
    // 800 x 600 client centred in it), reads the list and loads the picture
    // of the row with that Id (the first row for -1, or the index of the
    // file when given files). Throws DbError when the list cannot be read.
    void openAt(int rowId, int placement);

    // Navigation and zoom, as the buttons do.
    void Btn_FirstClick();
    void Btn_PriorClick();
    void Btn_NextClick();
    void Btn_LastClick();
    void zoomTo(int mode);
    void Btn_PrintClick();
    void Btn_SaveClick();

    int zoomMode() const { return m_zoomMode; }
    int rowCount() const { return int(m_rows.size()); }
    int currentRow() const { return m_current; }
    QString currentFile() const;
    const QImage& picture() const { return m_picture; }
    QLabel* pictureControl() const;
    QWidget* spacer() const;
    QScrollArea* scrollBox() const;
    // Places the picture in the scroll box for the zoom mode.
    void layoutPicture();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row
    {
        int id = 0;
        QString title;
        QString file;
    };
    void loadCurrent(bool report);
    void updateButtons();
    void moveTo(int row);
    void printCurrent(tav::ImagePrinting::Job& job);
    QString fileOf(const Row& row) const;

    std::unique_ptr<Ui::TPreviewImage> m_ui;
    std::unique_ptr<QPrinter> m_printer;
    tav::Connection* m_connection;
    QString m_title;
    int m_zoomMode = 1;
    QString m_folder;
    QString m_prefix;
    QStringList m_listQuery;
    QVector<tav::DataSet::FilterTerm> m_listFilter;
    QStringList m_files;
    QStringList m_fileTitles;
    QVector<Row> m_rows;
    int m_current = -1;
    QImage m_picture;
    bool m_scrolling = false;
    QPoint m_pressCursor;
    QPoint m_pressScroll;
    bool m_dragging = false;
    QPoint m_dragStart;
    QPoint m_windowStart;
};
