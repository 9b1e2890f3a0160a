#pragma once
// TfrmUDC: the UDC organizer: edits the list of UDC main classes; the copies keep their classes.

#include "catalogue/uListTableEditor.h"

class TfrmUDC : public ListTableEditor {
public:
    explicit TfrmUDC(ui::AppContext& ctx, QWidget* parent = nullptr)
        : ListTableEditor(ctx, catalogue::kUdcTable, parent) {}
};
