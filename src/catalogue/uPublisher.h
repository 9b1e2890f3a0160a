#pragma once
// TfrmPublisher: the publisher organizer: renames the publisher passed in everywhere or deletes it
// when unused.

#include "catalogue/uNameOrganizer.h"

class TfrmPublisher : public NameOrganizer {
public:
    TfrmPublisher(ui::AppContext& ctx, const QString& kind, const QString& value,
                  QWidget* parent = nullptr)
        : NameOrganizer(ctx, catalogue::kPublisherList, kind, value, parent) {}
};
