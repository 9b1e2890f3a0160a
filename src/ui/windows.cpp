#include "ui/windows.h"

#include "app/uTOVIRAK.h"
#include "catalogue/uBUKU.h"
#include "circulation/uHibah.h"
#include "circulation/uKARTU.h"
#include "membership/uMEMBER.h"
#include "search/uSEARCH.h"
#include "search/uSEARCHM.h"
#include "search/uTool.h"

namespace ui {

WindowFactories programWindows() {
    WindowFactories f;
    f.bookEntry = [](AppContext& ctx) -> QWidget* { return new TfrmBUKU(ctx); };
    f.bookSearch = [](AppContext& ctx, QWidget* parent, const QString& text) {
        TfrmSEARCH w(ctx, parent);
        w.start(text);
        w.exec();
    };
    f.memberSearch = [](AppContext& ctx, QWidget* parent, const QString& text) {
        TfrmSEARCHM w(ctx, parent);
        w.start(text);
        w.exec();
    };
    f.transaction = [](AppContext& ctx) -> QWidget* { return new TfrmKARTU(ctx); };
    // The label and card windows are added here as they are built.
    f.tools = [](AppContext& ctx, QWidget* parent) {
        ToolWindows windows;
        windows.withdrawal = [&ctx](QWidget* owner) {
            TfrmHibah w(ctx, owner);
            w.exec();
        };
        TfrmTool w(ctx, windows, parent);
        w.exec();
    };
    f.members = [](ui::AppContext& ctx, QWidget* parent) {
        TfrmMEMBER w(ctx, parent);
        w.exec();
    };
    return f;
}

}  // namespace ui
