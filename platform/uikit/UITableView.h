#pragma once

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/GroupedTableLayout.h"
#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UITableViewDataSource.h"
#include "platform/uikit/UITableViewDelegate.h"

// A list of rows in sections, and a scroll view over them. The table keeps what it last asked its
// data source and delegate (row counts and row heights) and asks again on reloadData and at the end
// of an update block. Every row counts as visible: cellForRowAtIndexPath makes the row's cell through
// the data source the first time, tells the delegate it will be displayed and keeps it (as a
// subview) until the next reload. Cells are stacked top to bottom at their rows' heights across the
// table's width, and the content size is the rows' total height.
//
// An inset grouped table instead puts each section in a card (see platform::GroupedTableLayout)
// with its title above and footer below, asks its data source for those texts along with the rows,
// and hides the cells of collapsed rows (under a point high).
enum class UITableViewStyle : int { Plain = 0, Grouped, InsetGrouped };

class UITableView : public UIScrollView {
public:
    static constexpr CGFloat defaultRowHeight = 44.0;

    UITableView() = default;
    explicit UITableView(UITableViewStyle style) : m_style(style) {}

    UITableViewStyle style() const { return m_style; }

    std::shared_ptr<UITableViewDataSource> dataSource() const { return m_dataSource.lock(); }
    void setDataSource(const std::shared_ptr<UITableViewDataSource>& dataSource) {
        m_dataSource = dataSource;
    }
    std::shared_ptr<UITableViewDelegate> delegate() const { return m_delegate.lock(); }
    // Also the scroll view's delegate.
    void setDelegate(const std::shared_ptr<UITableViewDelegate>& delegate) {
        m_delegate = delegate;
        UIScrollView::setDelegate(delegate);
    }
    // The height of rows whose delegate answers UITableViewAutomaticDimension, or has no delegate.
    CGFloat rowHeight() const { return m_rowHeight; }

    // Forgets the shown cells, then asks the data source for sections and rows and the delegate for
    // every row's height.
    void reloadData();
    // An update block: at the outermost endUpdates the table asks for its rows and every row's height
    // again and animates the change, keeping the cells of rows that still exist.
    void beginUpdates();
    void endUpdates();
    // How many update blocks have ended: what hosts and tests read to see that an animation ran.
    long animatedUpdateCount() const { return m_animatedUpdateCount; }

    // Counts from the last ask (the first call asks); 0 for a section out of range.
    long numberOfSections();
    long numberOfRowsInSection(long section);
    // The row's cell; nullptr for an index path out of range or a data source that gives none.
    std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath);
    // The height from the last ask, in points; 0 for an index path out of range.
    CGFloat heightForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath);
    // Every row's height added up.
    CGFloat contentHeight();
    // The shown cells and where they are, in row order.
    std::vector<std::shared_ptr<UITableViewCell>> visibleCells() const;
    std::vector<std::shared_ptr<NSIndexPath>> indexPathsForVisibleRows() const;
    // Where a shown cell is; nullptr for a cell the table does not show.
    std::shared_ptr<NSIndexPath> indexPathForCell(const std::shared_ptr<UITableViewCell>& cell) const;

    void layoutSubviews() override;

    // Where the row is, in content coordinates; null for an index path out of range.
    CGRect rectForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath);
    // The sections' cards, titles and footers of an inset grouped table (empty for other styles), as
    // of the last layout.
    const std::vector<platform::GroupedTableLayout::Section>& _groupedSections();

    // The row whose cell spans the point (bounds coordinates, so content coordinates); nullptr
    // when no row is there.
    std::shared_ptr<NSIndexPath> indexPathForRowAtPoint(CGPoint point) const;
    // The row last selected by a touch; nullptr after deselectRowAtIndexPath.
    std::shared_ptr<NSIndexPath> indexPathForSelectedRow() const { return m_selectedRow; }
    void selectRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath, bool animated);
    void deselectRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath, bool animated);

    // A touch that goes down and lifts on the same row selects it (the delegate hears of it) unless
    // its cell takes no touches; touches that come from a control in the cell stay with the control.
    void touchesBegan(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event) override;
    void touchesEnded(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event) override;
    void touchesCancelled(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event) override;

private:
    // The shown, touchable row under the touch.
    std::shared_ptr<NSIndexPath> selectableRowUnder(const UITouchSet& touches);

    using RowKey = std::pair<long, long>; // section, row

    void loadIfNeeded();
    // Puts shown cells at their rows and sets the content size (once rows were asked for).
    void placeCells();
    CGRect frameOfRow(long section, long row) const;
    void layOutGroups();
    // Asks for sections, rows and heights; cells whose row no longer exists are dropped.
    void askForRows();
    void dropCell(std::map<RowKey, std::shared_ptr<UITableViewCell>>::iterator cell);
    bool contains(long section, long row) const;
    CGFloat askHeight(const std::shared_ptr<UITableView>& self,
                      const std::shared_ptr<UITableViewDelegate>& delegate, long section, long row) const;

    std::weak_ptr<UITableViewDataSource> m_dataSource;
    std::weak_ptr<UITableViewDelegate> m_delegate;
    // Row heights per section, as last asked.
    std::vector<std::vector<CGFloat>> m_heights;
    // Section titles and footers as last asked (inset grouped tables only).
    struct SectionTexts {
        std::optional<std::string> header;
        std::optional<std::string> footer;
        NSTextAlignment footerAlignment = NSTextAlignmentNatural;
    };
    std::vector<SectionTexts> m_sectionTexts;
    platform::GroupedTableLayout m_grouped;
    CGFloat m_groupedWidth = -1;
    UITableViewStyle m_style = UITableViewStyle::Plain;
    std::map<RowKey, std::shared_ptr<UITableViewCell>> m_cells;
    CGFloat m_rowHeight = defaultRowHeight;
    std::shared_ptr<NSIndexPath> m_selectedRow;
    std::shared_ptr<NSIndexPath> m_touchedRow;
    long m_animatedUpdateCount = 0;
    int m_updateDepth = 0;
    bool m_loaded = false;
};

using UITableViewPtr = std::shared_ptr<UITableView>;
