#pragma once
// TfrmDetailBuku: the read-only detail of one book copy, with product-search buttons.

#include <QDialog>

#include "search/book_detail.h"
#include "ui/context.h"

class QFrame;
class QLineEdit;
class QPushButton;

class TfrmDetailBuku : public QDialog {
    Q_OBJECT
public:
    TfrmDetailBuku(ui::AppContext& ctx, const search::BookDetail& detail,
                   QWidget* parent = nullptr);

    // A product-search button: the message for a blank box, otherwise the
    // address opened in the browser and the focus left on "ISBN".
    void lookUp(search::ProductField field);

    // The blank area at the left of the location row: each click widens it
    // over the "Room", "Rack" and "Row" boxes or narrows it back.
    void toggleLocationCover();
    bool locationCovered() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void placeCover();

    ui::AppContext& m_ctx;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_author = nullptr;
    QLineEdit* m_publisher = nullptr;
    QLineEdit* m_isbn = nullptr;
    QPushButton* m_isbnButton = nullptr;
    QWidget* m_location = nullptr;
    QFrame* m_cover = nullptr;
};
