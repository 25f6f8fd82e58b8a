#include "app/ui/check_pane_wiring.h"

#include "app/ui/centre_panes.h"
#include "base/core/data_root.h"
#include "catalogue/ui/pattern_panels.h"
#include "checker/ui/check_pane.h"
#include "favourites/ui/favourites_panels.h"
#include "skin/ui/skinned.h"
#include "workspace/ui/workspace_panel.h"

#include <QPlainTextEdit>
#include <QTextEdit>

CheckPane* composeCheckPane(const CheckPaneParts& parts, const DataRoot& root) {
    const WorkspacePanel* workspace = parts.workspace;
    const CentrePanes* centre = parts.centre;
    const PatternPanels* patterns = parts.patterns;
    // It reads the document and the template on show and changes neither; a favourite
    // has no tune name.
    return installCheckPane(
        {.document =
             [workspace] {
                 return workspace->documents.value(workspace->documentTabs->tabIndex());
             },
         .templateText = [centre] { return centre->templateOnShow()->toPlainText(); },
         .patternName =
             [centre, patterns] {
                 return centre->favouriteOnShow() ? QString() : patterns->patternPanel->caption();
             },
         .watched = QList<QObject*>{patterns->templatePane, parts.favourites->templatePane,
                                    workspace->documentTabs}},
        root.shippedFolder() + QStringLiteral("/data/checker"), parts.row, parts.editMenu,
        parts.toolBar, patterns->patternPanel->captionStrip());
}
