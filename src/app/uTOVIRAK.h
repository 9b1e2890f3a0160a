#pragma once
// TfrmTOVIRAK: the main window. Creating it is the whole start-up; it owns the
// environment record, the data module and the seams for the whole run, offers
// every command, keeps each document window single and restores its start
// area when the last one closes.

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "app/access.h"
#include "app/data_module.h"
#include "app/environment.h"
#include "app/startup.h"
#include "ui/context.h"

class QAction;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QScrollArea;
class QToolButton;
class QFrame;
class QProgressBar;
class QTableView;

// How the main window creates the windows of the other subsystems. A command
// whose factory is empty is shown disabled.
struct WindowFactories {
    // Document windows, shown inside the main window.
    std::function<QWidget*(ui::AppContext&)> bookEntry;
    std::function<QWidget*(ui::AppContext&)> digitalEntry;
    std::function<QWidget*(ui::AppContext&)> transaction;
    // Searches: created with the quick-search text, already searched, modal.
    std::function<void(ui::AppContext&, QWidget*, const QString&)> bookSearch;
    std::function<void(ui::AppContext&, QWidget*, const QString&)> memberSearch;
    std::function<void(ui::AppContext&, QWidget*, const QString&)> digitalSearch;
    // Modal windows.
    std::function<void(ui::AppContext&, QWidget*)> members;
    std::function<void(ui::AppContext&, QWidget*)> report;
    std::function<void(ui::AppContext&, QWidget*)> tools;
};

class TfrmTOVIRAK : public QMainWindow {
    Q_OBJECT
public:
    enum class Document { Settings, BookEntry, DigitalEntry, Transaction };

    TfrmTOVIRAK(ui::Dialogs& dialogs, ui::Opener& opener, const core::Clock& clock, WindowFactories factories,
                const QString& currentDirectory, QWidget* parent = nullptr);
    ~TfrmTOVIRAK() override;

    ui::AppContext& context() { return *m_ctx; }
    app::Environment& environment() { return m_env; }
    app::DataModule& data() { return m_data; }
    const app::StartupOutcome& startupOutcome() const { return m_startup; }

    // Commands, as the menus and the top panel run them.
    void commandSettings();
    void commandBackup();
    void commandLogOut();
    void commandExit();
    void commandBookSearch(bool fromMenu = false);
    void commandMemberSearch();
    void commandDigitalSearch();
    void commandBorrow();
    void commandReturn();
    void commandBookEntry();
    void commandMembers();
    void commandDigitalEntry();
    void commandReport();
    void commandTools();
    void commandHelp();
    void commandHelpLanguage(bool english);
    void commandAbout();
    void commandOpenAdmin();

    // Login on demand and the level gate; true when the command may go on.
    bool passGate(app::GatedCommand command);
    void showLogin();

    // The menu check: empties the quick-search box and, when no document
    // window is open, shows the top and offline panels and hides the online one.
    void menuCheck();
    bool documentOpen(Document d) const { return m_documents.count(d) > 0; }
    QWidget* documentWidget(Document d) const;
    // Shows a document window inside the main window (the single-instance rule).
    QMdiSubWindow* openDocument(Document d, QWidget* widget);

    // The cover geometry rule, applied on every resize of the shelf box.
    void layoutShelf();
    // Exit: end the program at once (the application quits).
    std::function<void()> endProgram;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildTopPanel();
    void buildStartArea();
    void buildDiagnosticPanel();
    void buildExitPanels();
    void arrangeStartArea();
    void applyAvailability();
    void updateUserLabel();
    void hideDiagnosticPanel();
    void documentClosed(Document d);
    void openCreated(Document d, const std::function<QWidget*()>& create);
    void showContextHelp();
    void showStartupMessages();
    QAction* menuOf(Document d) const;

    app::Environment m_env;
    app::DataModule m_data;
    std::unique_ptr<ui::AppContext> m_ctx;
    WindowFactories m_factories;
    app::StartupOutcome m_startup;
    bool m_limited = false;  // start-up stopped: only settings, About, help and Exit

    std::map<Document, QMdiSubWindow*> m_documents;

    // Menus
    QAction* m_mnFILE = nullptr;
    QAction* m_mnSet = nullptr;
    QAction* m_mnBackup = nullptr;
    QAction* m_mnLogOut = nullptr;
    QAction* m_mnExit = nullptr;
    QAction* m_mnSEARCH = nullptr;
    QAction* m_mnSearchBook = nullptr;
    QAction* m_mnSearchMember = nullptr;
    QAction* m_mnSearchDigital = nullptr;
    QAction* m_mnTRANSACTION = nullptr;
    QAction* m_mnBorrow = nullptr;
    QAction* m_mnReturn = nullptr;
    QAction* m_mnINPUTDATA = nullptr;
    QAction* m_mnInputBook = nullptr;
    QAction* m_mnInputMember = nullptr;
    QAction* m_mnInputDigital = nullptr;
    QAction* m_mnREPORT = nullptr;
    QAction* m_mnGeneralReport = nullptr;
    QAction* m_mnBookLabel = nullptr;
    QAction* m_mnMemberCard = nullptr;
    QAction* m_mnTOOL = nullptr;
    QAction* m_mnHELP = nullptr;
    QAction* m_mnABOUT = nullptr;

    // Panels
    QFrame* m_pnlTOP = nullptr;
    QLineEdit* m_edtSearchMain = nullptr;
    QLabel* m_lblUSER = nullptr;
    std::map<QString, QPushButton*> m_topButtons;
    QWidget* m_pnlOnline = nullptr;
    QWidget* m_pnlOffline = nullptr;
    QScrollArea* m_shelf = nullptr;
    QWidget* m_shelfBox = nullptr;
    QLabel* m_shelfBackground = nullptr;
    QLabel* m_covers[10] = {};
    QFrame* m_planks[2] = {};
    QWidget* m_pnlVAR = nullptr;
    QMdiArea* m_mdi = nullptr;
    QFrame* m_pnlWait = nullptr;
    QFrame* m_pnlProgress = nullptr;
    bool m_settingsOpenedAtPaint = false;
};
