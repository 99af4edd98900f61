#pragma once

#include "booklet/pages/CardPage.h"

#include <memory>

class QLabel;

namespace Ui {
class TCustomPage;
}

namespace tav {

// The "Personnalisé" page: ten fields and two memos whose captions the
// user names; the captions are shared by every animal.
class TCustomPage : public CardPage
{
    Q_OBJECT
public:
    TCustomPage(AppContext& context, int index, QWidget* parent);
    ~TCustomPage() override;

    void Btn_Misc01Click(const QString& buttonName) override;
    void Ed_Misc01DblClick(const QString& fieldName) override;
    void Lab_Misc01DblClick(QLabel* label);
    void LoadCustomLabels();
    // The captions are shared by every animal: read once.
    void startPage() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TCustomPage> m_ui;
};

} // namespace tav
