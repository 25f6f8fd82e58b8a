#pragma once
// The check pane (格律检查) in the main window: it reads the document on show and the
// template of the record the centre shows, and sits beside the documents with its
// command in 编辑 and on the tool bar.

class CentrePanes;
class CheckPane;
class DataRoot;
class FavouritesPanels;
class PatternPanels;
class QLayout;
class QMenu;
class QToolBar;
class WorkspacePanel;

struct CheckPaneParts {
    const WorkspacePanel* workspace;    // the documents
    const CentrePanes* centre;          // which record is on show
    const PatternPanels* patterns;      // the pattern's name, template and caption strip
    const FavouritesPanels* favourites; // the favourite's template pane
    QLayout* row;                       // beside the documents
    QMenu* editMenu;                    // 编辑
    QToolBar* toolBar;                  // ToolBar1
};

CheckPane* composeCheckPane(const CheckPaneParts& parts, const DataRoot& root);
