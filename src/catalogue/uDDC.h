#pragma once
// TfrmDDC: the DDC organizer: edits the list of DDC classes; the copies keep their classes.

#include "catalogue/uListTableEditor.h"

class TfrmDDC : public ListTableEditor {
public:
    explicit TfrmDDC(ui::AppContext& ctx, QWidget* parent = nullptr)
        : ListTableEditor(ctx, catalogue::kDdcTable, parent) {}
};
