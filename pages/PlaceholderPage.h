// A tab's page before its editing controls exist: it shows nothing and accepts every apply.
// The information tab's stands in for the information page's stamp (date, revision,
// signature from the document's own name and author), so that saved skins open again.
#pragma once

#include <QWidget>

#include "IDlg.h"

namespace tandel {

class SkinDocument;

class PlaceholderPage : public QWidget, public IDlg {
    Q_OBJECT
public:
    // With a document, Apply stamps its header as the information page does before a save.
    explicit PlaceholderPage(SkinDocument* stamped = nullptr, QWidget* parent = nullptr);

    int Show(bool show) override;
    void SetOwner(QWidget*) override {}
    int Apply() override;
    int Refresh() override { return 1; }

private:
    SkinDocument* stamped_;
};

}  // namespace tandel
