#include "app/uABOUT.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/access.h"
#include "app/help_files.h"

QString TfrmABOUT::userLine(const app::CurrentUser& user) {
    return ui::qs(user.name) + " [level " + QString::number(user.level) + "=" + ui::qs(app::aboutRole(user.level)) + "]";
}

TfrmABOUT::TfrmABOUT(ui::AppContext& ctx, QWidget* parent) : QDialog(parent) {
    setObjectName("frmABOUT");
    setWindowTitle("About me and this software");
    setProperty("helpTopic", app::kHelpAbout);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("<h2>TOVIRAK</h2><p>Library management for schools and small public libraries</p>", this);
    layout->addWidget(title);
    auto add = [&](const char* name, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
    };
    add("lblVersion", "Version " + ui::qs(ctx.env.version));
    add("lblUser", userLine(ctx.env.user));
    add("lblSystemDirectory", "System directory: " + ui::qs(ctx.env.systemDirectory));
    add("lblDatabase", "Library database: " + ui::qs(ctx.env.libraryPath));
    auto* close = new QPushButton("CLOSE", this);
    close->setObjectName("btnClose");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close);
}
