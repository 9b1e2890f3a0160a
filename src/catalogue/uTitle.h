#pragma once
// TfrmTITLE: the title organizer: renames a title in the title list and in every copy, or deletes
// an unused one.

#include "catalogue/uNameOrganizer.h"

class TfrmTITLE : public NameOrganizer {
public:
    TfrmTITLE(ui::AppContext& ctx, const QString& kind, const QString& value,
              QWidget* parent = nullptr)
        : NameOrganizer(ctx, catalogue::kTitleList, kind, value, parent) {}
};
