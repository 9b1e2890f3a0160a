#pragma once
// A record navigator under a grid: first, prior, next, last, insert, delete,
// edit, post, cancel and refresh, each button shown only where the grid's
// data allows it.

#include <QWidget>
#include <functional>
#include <map>
#include <string>

class QTableView;
class QToolButton;

namespace ui {

class Dialogs;

class Navigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };

    Navigator(QTableView* view, Dialogs& dialogs, QWidget* parent = nullptr);

    // Which buttons show (all by default for a table, browsing ones for a query).
    void setButtons(std::initializer_list<Button> buttons);
    QToolButton* button(Button b) const;
    // Field values a new record starts with (for example a safe user level).
    void setInsertDefaults(std::map<std::string, std::string> defaults) { m_defaults = std::move(defaults); }
    // Replaces what refresh does (a query runs its statement again).
    void setRefreshAction(std::function<void()> action) { m_refresh = std::move(action); }

    void run(Button b);

signals:
    // After every action, so owners can show counts again.
    void acted();

private:
    QTableView* m_view;
    Dialogs& m_dialogs;
    std::map<Button, QToolButton*> m_buttons;
    std::map<std::string, std::string> m_defaults;
    std::function<void()> m_refresh;
};

}  // namespace ui
