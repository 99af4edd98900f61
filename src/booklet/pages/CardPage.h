#pragma once

#include "booklet/pages/BookletPage.h"

class QLineEdit;

namespace tav {

struct AppContext;
class DataModule1;
class DataSet;

// What the identity card's pages share: fields bound to the current
// animal's columns, a button beside a field to open its list or picker,
// Enter in the field doing the same, and a double-click on such a field to
// edit its list. The handlers recognise a component by its name.
class CardPage : public BookletPage
{
    Q_OBJECT
public:
    CardPage(AppContext& context, int index, const QString& caption, QWidget* parent);

    // One handler for every list and date button of the page.
    virtual void Btn_Misc01Click(const QString& buttonName) = 0;
    virtual void Ed_Misc01DblClick(const QString& fieldName) = 0;
    void updateActions(bool animalPresent) override;

protected:
    // Binds a field to a column of the current animal, when a database is open.
    void bind(QWidget* field, const QString& column);
    // Connects the page's buttons and watches its fields; run once the
    // components exist.
    void wireFields();
    bool eventFilter(QObject* watched, QEvent* event) override;

    bool hasModule() const;
    // An animal is current and its row can be edited.
    bool hasAnimal() const;
    DataModule1& module() const;
    DataSet& animal() const;
    QLineEdit* edit(const QString& name) const;
    // The remembered values of a key as the field's pick list.
    void openRememberedValues(const QString& fieldName, const QString& key);
    // The editor of a key's remembered values.
    void editRememberedValues(const QString& title, const QString& key);

    AppContext& m_context;
};

} // namespace tav
