#pragma once
// TfrmAuthor: the author organizer: renames an author everywhere or deletes an unused one; its list
// can also be edited in place.

#include "catalogue/uNameOrganizer.h"

class TfrmAuthor : public NameOrganizer {
public:
    TfrmAuthor(ui::AppContext& ctx, const QString& kind, const QString& value,
               QWidget* parent = nullptr)
        : NameOrganizer(ctx, catalogue::kAuthorList, kind, value, parent) {}
};
