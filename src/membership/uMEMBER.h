#pragma once
// TfrmMEMBER: the member window, where librarians register families (home
// address, phone, both parents) and each family's members with their loan
// rules; a family is chosen or created first, then a member of it.

#include <QDialog>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "membership/member_register.h"
#include "ui/context.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

namespace ui {
class Navigator;
class TableModel;
class TypeAheadField;
}  // namespace ui

class TfrmMEMBER : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMEMBER(ui::AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmMEMBER() override;

    // The steps, as the keys and buttons run them.
    void familyEntered();
    void familyEscaped();
    void familyPicked(const QString& code);
    void memberEntered();
    void memberEscaped();
    void memberPicked(const QString& code);
    void editFamilyClicked();
    void saveFamilyClicked();
    void cancelFamilyClicked();
    void deleteFamilyClicked();
    void editMemberClicked();
    void saveMemberClicked();
    void cancelMemberClicked();
    void deleteMemberClicked();
    void copyAddressClicked();
    void closeClicked();
    void ageRequested();
    // The empty window: both panels cleared, focus in the family search box.
    void resetToEmpty();

    ui::TypeAheadField* familyLookup() const { return m_familyAhead; }
    ui::TypeAheadField* memberLookup() const { return m_memberAhead; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    QLineEdit* addBox(const char* name, QWidget* parent, int maxLength = 0, bool upperCase = false);
    QPushButton* addButton(const char* name, const QString& text, QWidget* parent,
                           const QString& hint = {});
    bool run(const std::function<void()>& action);
    void tell(const std::vector<std::string>& messages);
    void reloadGrid();

    // What the panels show.
    void openFamily(const membership::Family& family);
    void openMember(const membership::Member& member);
    void clearFamilyPanel();
    void clearMemberPanel();
    void showMemberForm(const membership::MemberForm& form);
    membership::MemberForm memberForm() const;
    std::map<std::string, std::string> familyFields() const;
    void finishFamilyEdit();
    void finishMemberEdit();
    void familySearchChanged();
    void memberSearchChanged();

    // Which commands show.
    void setFamilyButtons(bool on);
    void setFamilyEditing(bool on);
    void setMemberButtons(bool on);
    void setMemberEditing(bool on);
    void setMemberFieldsEnabled(bool on);
    void setFamilyFieldsEnabled(bool on);
    bool familyEditing() const;
    bool memberEditing() const;

    ui::AppContext& m_ctx;
    membership::MemberRegister m_register;

    // Top bar
    QLineEdit* m_familySearch = nullptr;
    QToolButton* m_familyListButton = nullptr;
    QPushButton* m_close = nullptr;

    // Member panel
    QWidget* m_memberPanel = nullptr;
    QLineEdit* m_preview = nullptr;
    QLineEdit* m_memberSearch = nullptr;
    QToolButton* m_memberListButton = nullptr;
    QLineEdit* m_memberCode = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_address = nullptr;
    QLineEdit* m_phone = nullptr;
    QLineEdit* m_mobile = nullptr;
    QLineEdit* m_email = nullptr;
    QLineEdit* m_web = nullptr;
    QLineEdit* m_borrowed = nullptr;
    QLineEdit* m_klass = nullptr;
    QLineEdit* m_birth = nullptr;
    QLabel* m_birthHint = nullptr;
    QLineEdit* m_maximum = nullptr;
    QLineEdit* m_loanDays = nullptr;
    QLineEdit* m_penalty = nullptr;
    QPushButton* m_editMember = nullptr;
    QPushButton* m_deleteMember = nullptr;
    QPushButton* m_copyAddress = nullptr;
    QPushButton* m_saveMember = nullptr;
    QPushButton* m_cancelMember = nullptr;
    std::vector<QLineEdit*> m_memberBoxes;    // every member field box
    std::vector<QLineEdit*> m_switchedBoxes;  // those viewing and editing switch

    // Family panel
    QWidget* m_familyPanel = nullptr;
    QLineEdit* m_familyCode = nullptr;
    std::map<std::string, QLineEdit*> m_familyBoxes;  // by field name
    QPushButton* m_editFamily = nullptr;
    QPushButton* m_deleteFamily = nullptr;
    QPushButton* m_saveFamily = nullptr;
    QPushButton* m_cancelFamily = nullptr;

    // Bottom grid over every member
    QTableView* m_grid = nullptr;
    ui::TableModel* m_gridModel = nullptr;
    ui::Navigator* m_navigator = nullptr;

    ui::TypeAheadField* m_familyAhead = nullptr;
    ui::TypeAheadField* m_memberAhead = nullptr;
};
