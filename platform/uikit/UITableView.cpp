#include "platform/uikit/UITableView.h"

#include <algorithm>
#include <tuple>

#include "platform/uikit/UITouch.h"
#include "platform/uikit/UITraitCollection.h"

namespace {

[[maybe_unused]] const Class registeredClass =
    platform::registerClass<UITableView, UIScrollView>("UITableView");

} // namespace

void UITableView::reloadData() {
    while (!m_cells.empty())
        dropCell(m_cells.begin());
    askForRows();
}

void UITableView::beginUpdates() {
    loadIfNeeded();
    ++m_updateDepth;
}

void UITableView::endUpdates() {
    if (m_updateDepth == 0 || --m_updateDepth > 0)
        return;
    askForRows();
    ++m_animatedUpdateCount;
}

long UITableView::numberOfSections() {
    loadIfNeeded();
    return static_cast<long>(m_heights.size());
}

long UITableView::numberOfRowsInSection(long section) {
    loadIfNeeded();
    if (section < 0 || section >= static_cast<long>(m_heights.size()))
        return 0;
    return static_cast<long>(m_heights[static_cast<std::size_t>(section)].size());
}

std::shared_ptr<UITableViewCell>
UITableView::cellForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) {
    loadIfNeeded();
    if (!indexPath || !contains(indexPath->section(), indexPath->row()))
        return nullptr;
    RowKey key{indexPath->section(), indexPath->row()};
    if (auto shown = m_cells.find(key); shown != m_cells.end())
        return shown->second;
    auto dataSource = this->dataSource();
    if (!dataSource)
        return nullptr;
    auto self = selfAs<UITableView>();
    auto cell = dataSource->tableViewCellForRowAtIndexPath(self, indexPath);
    // The data source may have reloaded the table meanwhile; a row that is gone gets no cell.
    if (!cell || !contains(key.first, key.second))
        return nullptr;
    m_cells.insert_or_assign(key, cell);
    addSubview(cell);
    layOutGroups();
    cell->setFrame(frameOfRow(key.first, key.second));
    cell->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    if (m_style == UITableViewStyle::InsetGrouped)
        cell->setHidden(cell->frame().size.height <= 0);
    if (auto delegate = this->delegate())
        delegate->tableViewWillDisplayCellForRowAtIndexPath(self, cell, indexPath);
    return cell;
}

CGFloat UITableView::heightForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) {
    loadIfNeeded();
    if (!indexPath || !contains(indexPath->section(), indexPath->row()))
        return 0;
    return m_heights[static_cast<std::size_t>(indexPath->section())]
                    [static_cast<std::size_t>(indexPath->row())];
}

CGFloat UITableView::contentHeight() {
    loadIfNeeded();
    CGFloat total = 0;
    for (const auto& section : m_heights) {
        for (CGFloat height : section)
            total += height;
    }
    return total;
}

std::vector<std::shared_ptr<UITableViewCell>> UITableView::visibleCells() const {
    std::vector<std::shared_ptr<UITableViewCell>> cells;
    for (const auto& [key, cell] : m_cells)
        cells.push_back(cell);
    return cells;
}

std::vector<std::shared_ptr<NSIndexPath>> UITableView::indexPathsForVisibleRows() const {
    std::vector<std::shared_ptr<NSIndexPath>> indexPaths;
    for (const auto& [key, cell] : m_cells)
        indexPaths.push_back(NSIndexPath::indexPathForRow(key.second, key.first));
    return indexPaths;
}

std::shared_ptr<NSIndexPath>
UITableView::indexPathForCell(const std::shared_ptr<UITableViewCell>& cell) const {
    for (const auto& [key, shown] : m_cells) {
        if (cell && shown == cell)
            return NSIndexPath::indexPathForRow(key.second, key.first);
    }
    return nullptr;
}

void UITableView::loadIfNeeded() {
    if (!m_loaded)
        reloadData();
}

void UITableView::askForRows() {
    m_loaded = true;
    auto self = selfAs<UITableView>();
    auto dataSource = this->dataSource();
    auto delegate = this->delegate();
    std::vector<std::vector<CGFloat>> heights;
    long sections = dataSource ? std::max(0L, dataSource->numberOfSectionsInTableView(self)) : 0;
    for (long section = 0; section < sections; ++section) {
        long rows = std::max(0L, dataSource->tableViewNumberOfRowsInSection(self, section));
        auto& sectionHeights = heights.emplace_back();
        for (long row = 0; row < rows; ++row)
            sectionHeights.push_back(askHeight(self, delegate, section, row));
    }
    m_heights = std::move(heights);
    m_sectionTexts.clear();
    if (m_style == UITableViewStyle::InsetGrouped && dataSource)
        for (long section = 0; section < sections; ++section)
            m_sectionTexts.push_back({dataSource->tableViewTitleForHeaderInSection(self, section),
                                      dataSource->tableViewTitleForFooterInSection(self, section),
                                      dataSource->_tableViewFooterAlignmentInSection(self, section)});
    m_groupedWidth = -1;
    // Rows without cells get theirs in the next layout pass.
    setNeedsLayout();
    for (auto cell = m_cells.begin(); cell != m_cells.end();) {
        auto next = std::next(cell);
        if (!contains(cell->first.first, cell->first.second))
            dropCell(cell);
        cell = next;
    }
    placeCells();
}

void UITableView::layoutSubviews() {
    UIScrollView::layoutSubviews();
    // A table first asks for its rows in its first layout pass, as UIKit's does. Every row counts as
    // visible: a layout pass makes the cells of rows that have none yet.
    if (dataSource())
        loadIfNeeded();
    if (m_loaded && dataSource())
        for (long section = 0; section < static_cast<long>(m_heights.size()); ++section)
            for (long row = 0; row < static_cast<long>(m_heights[static_cast<std::size_t>(section)].size()); ++row)
                if (!m_cells.contains({section, row}))
                    cellForRowAtIndexPath(NSIndexPath::indexPathForRow(row, section));
    placeCells();
}

void UITableView::placeCells() {
    if (!m_loaded)
        return;
    layOutGroups();
    CGFloat width = bounds().size.width;
    for (const auto& [key, cell] : m_cells) {
        cell->setFrame(frameOfRow(key.first, key.second));
        if (m_style == UITableViewStyle::InsetGrouped)
            cell->setHidden(cell->frame().size.height <= 0);
    }
    if (m_style == UITableViewStyle::InsetGrouped) {
        setContentSize({width, m_grouped.contentHeight});
        return;
    }
    CGFloat total = 0;
    for (const auto& section : m_heights)
        for (CGFloat height : section)
            total += height;
    setContentSize({width, total});
}

void UITableView::layOutGroups() {
    CGFloat width = bounds().size.width;
    if (m_style != UITableViewStyle::InsetGrouped || width == m_groupedWidth)
        return;
    std::vector<platform::GroupedTableLayout::SectionInput> input;
    for (std::size_t section = 0; section < m_heights.size(); ++section) {
        auto& given = input.emplace_back();
        if (section < m_sectionTexts.size()) {
            given.header = m_sectionTexts[section].header;
            given.footer = m_sectionTexts[section].footer;
            given.footerAlignment = m_sectionTexts[section].footerAlignment;
        }
        given.rowHeights = m_heights[section];
    }
    auto traits = traitCollection();
    bool regular = traits && traits->horizontalSizeClass() == UIUserInterfaceSizeClass::Regular;
    m_grouped = platform::GroupedTableLayout::make(input, width, regular);
    m_groupedWidth = width;
}

const std::vector<platform::GroupedTableLayout::Section>& UITableView::_groupedSections() {
    loadIfNeeded();
    layOutGroups();
    return m_grouped.sections;
}

CGRect UITableView::rectForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) {
    loadIfNeeded();
    if (!indexPath || !contains(indexPath->section(), indexPath->row()))
        return CGRectNull;
    layOutGroups();
    return frameOfRow(indexPath->section(), indexPath->row());
}

CGRect UITableView::frameOfRow(long section, long row) const {
    if (m_style == UITableViewStyle::InsetGrouped && section < static_cast<long>(m_grouped.sections.size())) {
        const auto& rows = m_grouped.sections[static_cast<std::size_t>(section)].rows;
        if (row < static_cast<long>(rows.size()))
            return rows[static_cast<std::size_t>(row)];
    }
    CGFloat offset = 0;
    for (long index = 0; index < section && index < static_cast<long>(m_heights.size()); ++index)
        for (CGFloat height : m_heights[static_cast<std::size_t>(index)])
            offset += height;
    const auto& rows = m_heights[static_cast<std::size_t>(section)];
    for (long index = 0; index < row && index < static_cast<long>(rows.size()); ++index)
        offset += rows[static_cast<std::size_t>(index)];
    return CGRectMake(0, offset, bounds().size.width, rows[static_cast<std::size_t>(row)]);
}

void UITableView::dropCell(std::map<RowKey, std::shared_ptr<UITableViewCell>>::iterator cell) {
    auto shown = std::move(cell->second);
    m_cells.erase(cell);
    // The same cell may be shown for another row as well; it stays then.
    bool shownElsewhere =
        std::any_of(m_cells.begin(), m_cells.end(), [&](const auto& entry) { return entry.second == shown; });
    if (!shownElsewhere && shown->superview().get() == this)
        shown->removeFromSuperview();
}

bool UITableView::contains(long section, long row) const {
    if (section < 0 || section >= static_cast<long>(m_heights.size()))
        return false;
    return row >= 0 && row < static_cast<long>(m_heights[static_cast<std::size_t>(section)].size());
}

CGFloat UITableView::askHeight(const std::shared_ptr<UITableView>& self,
                               const std::shared_ptr<UITableViewDelegate>& delegate, long section,
                               long row) const {
    if (!delegate)
        return m_rowHeight;
    CGFloat height =
        delegate->tableViewHeightForRowAtIndexPath(self, NSIndexPath::indexPathForRow(row, section));
    // NaN fails the comparison as well: a row gets the standard height rather than no height.
    return height >= 0 ? height : m_rowHeight;
}

std::shared_ptr<NSIndexPath> UITableView::indexPathForRowAtPoint(CGPoint point) const {
    for (const auto& [key, cell] : m_cells)
        if (CGRectContainsPoint(cell->frame(), point))
            return NSIndexPath::indexPathForRow(key.second, key.first);
    return nullptr;
}

void UITableView::selectRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath, bool) {
    m_selectedRow = indexPath;
}

void UITableView::deselectRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath, bool) {
    if (m_selectedRow && indexPath && m_selectedRow->isEqual(indexPath))
        m_selectedRow.reset();
}

std::shared_ptr<NSIndexPath> UITableView::selectableRowUnder(const UITouchSet& touches) {
    if (touches.empty() || !touches.front())
        return nullptr;
    auto indexPath = indexPathForRowAtPoint(touches.front()->locationInView(selfAs<UIView>()));
    if (!indexPath)
        return nullptr;
    auto shown = m_cells.find({indexPath->section(), indexPath->row()});
    if (shown == m_cells.end() || !shown->second->isUserInteractionEnabled() || shown->second->isHidden())
        return nullptr;
    return indexPath;
}

void UITableView::touchesBegan(const UITouchSet& touches, const std::shared_ptr<UIEvent>&) {
    m_touchedRow = selectableRowUnder(touches);
}

void UITableView::touchesEnded(const UITouchSet& touches, const std::shared_ptr<UIEvent>&) {
    auto began = std::move(m_touchedRow);
    m_touchedRow.reset();
    auto ended = selectableRowUnder(touches);
    if (!began || !ended || !began->isEqual(ended))
        return;
    selectRowAtIndexPath(ended, false);
    if (auto delegate = this->delegate())
        delegate->tableViewDidSelectRowAtIndexPath(selfAs<UITableView>(), ended);
}

void UITableView::touchesCancelled(const UITouchSet&, const std::shared_ptr<UIEvent>&) {
    m_touchedRow.reset();
}
