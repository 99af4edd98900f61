#pragma once

#include <QWidget>

namespace tav {

// One page of the booklet's notebook. The main window creates the pages in
// the order of their tabs and asks the shown one to refresh whenever the
// current animal or the page changes.
class BookletPage : public QWidget
{
    Q_OBJECT
public:
    BookletPage(int index, const QString& caption, QWidget* parent = nullptr);

    int pageIndex() const { return m_index; }
    const QString& caption() const { return m_caption; }

    // Loads what the page shows of the current animal. Pages whose fields
    // are bound to the animal's columns need nothing.
    virtual void refresh();
    // Whether an animal is current. Pages that only show the current
    // animal's columns look disabled without one, since they take no input.
    virtual void setAnimalPresent(bool present);

private:
    int m_index;
    QString m_caption;
};

} // namespace tav
