#pragma once
// TfrmABOUT: the About window with the version, the user and the two paths.

#include <QDialog>

#include "ui/context.h"

class TfrmABOUT : public QDialog {
    Q_OBJECT
public:
    TfrmABOUT(ui::AppContext& ctx, QWidget* parent = nullptr);
    // "NAME [level N=Role]".
    static QString userLine(const app::CurrentUser& user);
};
