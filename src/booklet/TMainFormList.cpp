// The animal list of the main window: building it, moving through it, and
// adding, deleting and recording animals.
#include "booklet/AnimalListModel.h"
#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "booklet/pages/BookletPage.h"
#include "db/AnimalListStore.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "ui/MessageBox.h"
#include "ui_TMainForm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QWheelEvent>

#include <optional>

using namespace tav;

void TMainForm::buildAnimalList(int wantedId)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int sort = m_context.settings.animalSort;
    QVector<AnimalListEntry> animals;
    const bool fromAnimals = m_listFromAnimals;
    m_listFromAnimals = false;
    if (m_context.module1 && m_context.connection && m_context.connection->isOpen()) {
        try {
            // Just opened, the animals' data set holds the stored rows: the
            // first list is made from them rather than by reading the
            // table, photos and all, a second time.
            const AnimalListStore store(*m_context.connection);
            animals = fromAnimals && animal().isOpen() && animal().state() == DataSet::State::Browse
                          ? store.entriesFrom(animal(), sort)
                          : store.entries(sort);
        } catch (const DbError& e) {
            QApplication::restoreOverrideCursor();
            showError(this, e.message());
            return;
        }
    }
    m_building = true;
    m_listModel->setAnimals(animals, sort, m_context.settings.animalEnd);
    m_building = false;
    if (m_listModel->rowCount() > 0) {
        AnimalListResult placed;
        placed.rows = m_listModel->rows();
        placed.wantedIndex = m_listModel->rowOfKey(wantedId);
        selectRow(initialSelection(placed, wantedId));
    }
    m_ui->Grid_AnimalList->viewport()->update();
    QApplication::restoreOverrideCursor();
}

void TMainForm::refreshAnimalInList(int animalId)
{
    std::optional<AnimalListEntry> entry;
    try {
        entry = AnimalListStore(*m_context.connection).entry(animalId);
    } catch (const DbError& e) {
        showError(this, e.message());
        return;
    }
    const int selected = selectedAnimalKey();
    m_building = true;
    if (entry)
        m_listModel->putAnimal(*entry);
    else
        m_listModel->removeAnimal(animalId);
    m_building = false;
    // The rows around the change moved: the selection stays on its animal.
    const int row = m_listModel->rowOfKey(selected > 0 ? selected : animalId);
    if (row >= 0)
        selectRow(row);
    else if (m_listModel->rowCount() > 0)
        selectRow(1);
}

void TMainForm::animalWritten(int animalId)
{
    if (m_listModel->rowCount() == 0)
        buildAnimalList(-1);
    else
        refreshAnimalInList(animalId);
}

QStringList TMainForm::animalRows() const
{
    QStringList out;
    out.reserve(m_listModel->rows().size());
    for (const AnimalRow& r : m_listModel->rows())
        out.append(r.rowString());
    return out;
}

int TMainForm::selectedRow() const
{
    const QModelIndex current = m_ui->Grid_AnimalList->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TMainForm::selectRow(int row)
{
    const int count = m_listModel->rowCount();
    if (count == 0)
        return;
    row = std::clamp(row, 0, count - 1);
    const QModelIndex index = m_listModel->index(row);
    if (m_ui->Grid_AnimalList->currentIndex() == index) {
        // Selecting the row already selected still runs the rule.
        Grid_AnimalListClick();
        return;
    }
    m_ui->Grid_AnimalList->setCurrentIndex(index);
    m_ui->Grid_AnimalList->scrollTo(index);
}

int TMainForm::selectedAnimalKey() const
{
    return m_listModel->keyAt(selectedRow());
}

void TMainForm::Grid_AnimalListClick()
{
    const int row = selectedRow();
    if (row < 0 || row >= m_listModel->rowCount())
        return;
    const int key = m_listModel->keyAt(row);
    const bool movingUp = m_moveDirection == 1;
    m_moveDirection = 0;
    if (key < 1) {
        // A header is never current: moving up lands on the animal above,
        // anything else on the first animal of the group.
        if (movingUp)
            selectRow(row <= 1 ? 1 : row - 1);
        else
            selectRow(row + 1);
        return;
    }
    makeAnimalCurrent(key);
}

void TMainForm::makeAnimalCurrent(int key)
{
    if (!m_context.module1 || !animal().isOpen())
        return;
    // The card's look-ups and the commands' states of one animal are read
    // as one burst.
    std::optional<Connection::ReadBurst> burst;
    if (m_context.connection)
        burst.emplace(*m_context.connection);
    try {
        if (!animal().isEmpty() && animal().asInt(QStringLiteral("Id")) == key &&
            !animal().isEditing())
            return;
        animal().locateId(key);
    } catch (const DbError& e) {
        // The animal being edited could not be written: it stays current,
        // and selected.
        showError(this, e.message());
        const int row = m_listModel->rowOfKey(animal().asInt(QStringLiteral("Id")));
        if (row >= 0) {
            m_building = true;
            m_ui->Grid_AnimalList->setCurrentIndex(m_listModel->index(row));
            m_building = false;
        }
    }
    updateControls();
}

void TMainForm::followCurrentAnimal()
{
    m_listModel->setCurrentKey(animalEmpty() ? 0 : animal().asInt(QStringLiteral("Id")));
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched->objectName() == QLatin1String("Lab_Status")) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress) {
            m_dragStart = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            m_dragOrigin = pos();
            m_dragging = true;
        } else if (type == QEvent::MouseMove && m_dragging) {
            const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            move(m_dragOrigin + at - m_dragStart);
        } else if (type == QEvent::MouseButtonRelease) {
            m_dragging = false;
        }
        return QMainWindow::eventFilter(watched, event);
    }
    if (watched == m_ui->Grid_AnimalList && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        m_moveDirection = key->key() == Qt::Key_Down ? 2 : key->key() == Qt::Key_Up ? 1 : 0;
    } else if (watched == m_ui->Grid_AnimalList->viewport() && event->type() == QEvent::Wheel) {
        // The wheel moves the selection by one row, as the arrow keys do.
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int dy = wheel->angleDelta().y();
        if (dy != 0 && m_listModel->rowCount() > 0) {
            m_moveDirection = dy < 0 ? 2 : 1;
            const int row = selectedRow() + (dy < 0 ? 1 : -1);
            if (row >= 0 && row < m_listModel->rowCount())
                selectRow(row);
            else
                m_moveDirection = 0;
        }
        return true;
    } else if (watched == m_ui->Grid_AnimalList->viewport() &&
               event->type() == QEvent::MouseButtonPress) {
        m_moveDirection = 0;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::Btn_Main_NextClick()
{
    const int row = selectedRow();
    if (row + 1 < m_listModel->rowCount())
        selectRow(row + 1);
}

void TMainForm::Btn_Main_PriorClick()
{
    const int row = selectedRow();
    if (row <= 0)
        return;
    if (m_listModel->keyAt(row - 1) >= 1) {
        selectRow(row - 1);
        return;
    }
    // Above is a header: the last animal of the group above, or at the top
    // the header itself, which the selection rule moves back down.
    if (row - 2 >= 0) {
        m_moveDirection = 0;
        selectRow(row - 2);
    } else {
        selectRow(row - 1);
    }
}

void TMainForm::Btn_Main_AddClick()
{
    if (!m_context.module1 || !animal().isOpen())
        return;
    try {
        DataSet& a = animal();
        // The new row is already the data set's current one: only its own
        // row of the list is added, nothing is read again.
        const int id = m_context.module1->addAnimal();
        refreshAnimalInList(id);
        selectRow(m_listModel->rowOfKey(id));
        a.edit();
        m_ui->TabNoteBook->setCurrentIndex(0);
        m_ui->AANotebook1->setCurrentIndex(0);
        m_pages.first()->beginNewAnimal();
    } catch (const DbError& e) {
        if (animal().controlsDisabled())
            animal().enableControls();
        showError(this, e.message());
    }
    updateControls();
}

void TMainForm::Btn_Main_DeleteClick()
{
    if (animalEmpty())
        return;
    if (!MessageBox::question(
            this, QStringLiteral("Confirmez-vous la suppression de ce carnet de santé ?")))
        return;
    const int id = animal().asInt(QStringLiteral("Id"));
    try {
        m_context.module1->deleteCurrentAnimal();
    } catch (const DbError& e) {
        // Nothing was deleted: the list and the current animal stay.
        showError(this, e.message());
        updateControls();
        return;
    }
    m_building = true;
    m_listModel->removeAnimal(id);
    m_building = false;
    // As after a full build with no wanted animal: the first animal.
    if (m_listModel->rowCount() > 0)
        selectRow(1);
    updateControls();
}

void TMainForm::Btn_Main_RecordClick()
{
    if (!m_context.module1 || !animal().isEditing())
        return;
    try {
        animal().post();
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    updateControls();
}

void TMainForm::Btn_Main_FilterClick()
{
    const QPoint at = m_ui->Btn_Main_Filter->mapToGlobal(QPoint(0, -85));
    m_filterMenu->popup(at);
}

void TMainForm::setAnimalSort(int sort)
{
    m_context.settings.animalSort = sort;
    buildAnimalList(animalEmpty() ? -1 : animal().asInt(QStringLiteral("Id")));
    updateControls();
}

void TMainForm::toggleAnimalEnd()
{
    m_context.settings.animalEnd = !m_context.settings.animalEnd;
    buildAnimalList(-1);
    updateControls();
}
