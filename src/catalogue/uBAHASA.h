#pragma once
// TfrmBAHASA: the language organizer: edits the list of languages; the copies keep theirs.

#include "catalogue/uListTableEditor.h"

class TfrmBAHASA : public ListTableEditor {
public:
    explicit TfrmBAHASA(ui::AppContext& ctx, QWidget* parent = nullptr)
        : ListTableEditor(ctx, catalogue::kLanguageTable, parent) {}
};
