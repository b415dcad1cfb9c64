// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_lists.h"

#include <QAbstractItemView>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <utility>
#include <variant>

#include "platform/qt/qt_string.h"
#include "platform/text.h"

namespace velmora {
namespace {

constexpr int kIndentPerLevel = 3;  // spaces
constexpr int kFolderPathRole = Qt::UserRole;

// A screen reader reads the folder's name without the indentation, and its
// path, which says what the indentation shows.
QListWidgetItem* FolderListItem(const FolderEntry& entry) {
  const QString name = ToQString(ShownName(entry.label));
  auto* item = new QListWidgetItem(QString(entry.depth * kIndentPerLevel, u' ') + name);
  item->setData(kFolderPathRole, ToQString(entry.path));
  item->setData(Qt::AccessibleTextRole, name);
  item->setData(Qt::AccessibleDescriptionRole, ToQString(ShownName(entry.path)));
  return item;
}

}  // namespace

QtDriveList::QtDriveList(QComboBox& combo, BrowserState& state, const EventRouter& events)
    : combo_(combo), state_(state), events_(events) {
  for (const Volume& volume : state_.volumes()) combo_.addItem(ToQString(ShownName(DriveTextOf(volume))));
  ShowSelectedDrive();
  QObject::connect(&combo_, &QComboBox::activated, &connections(), [this](int index) {
    SetDrive(DriveTextOf(state_.volumes().at(static_cast<std::size_t>(index))));
  });
}

void QtDriveList::SetDrive(const std::u16string& driveOrPath) {
  if (!state_.SelectDrive(driveOrPath)) return;
  ShowSelectedDrive();
  events_.Raise(&FormEvents::lstDrive_Change);
}

void QtDriveList::ShowSelectedDrive() {
  const QSignalBlocker quiet(combo_);
  combo_.setCurrentIndex(static_cast<int>(state_.selectedDrive()));
  // Marked in the list that drops down as well, closed or open: a screen
  // reader takes a drop-down list's value from there.
  combo_.view()->setCurrentIndex(combo_.model()->index(combo_.currentIndex(), 0));
}

QtDirList::QtDirList(QListWidget& list, BrowserState& state, const EventRouter& events)
    : list_(list), state_(state), events_(events) {
  ShowEntries();
  QObject::connect(&list_, &QListWidget::itemActivated, &connections(), [this](const QListWidgetItem* item) {
    // Copied first: showing the folder replaces the items.
    const std::u16string path = FromQString(item->data(kFolderPathRole).toString());
    events_.RunGuarded([this, &path] { Open(path); });
  });
}

void QtDirList::SetPath(const std::u16string& pathOrDrive) {
  if (!state_.ShowFolder(pathOrDrive)) return;
  ShowEntries();
  events_.Raise(&FormEvents::lstDir_Change);
}

void QtDirList::Open(const std::u16string& folder) {
  const bool changed = state_.OpenListedFolder(folder);
  // Listed afresh even when the folder stays: an entry may have vanished.
  ShowEntries();
  if (changed) events_.Raise(&FormEvents::lstDir_Change);
}

void QtDirList::ShowEntries() {
  list_.clear();
  for (const FolderEntry& entry : state_.FolderEntries()) {
    QListWidgetItem* item = FolderListItem(entry);
    list_.addItem(item);
    if (entry.isCurrent) list_.setCurrentItem(item);
  }
}

void FileListWidget::mousePressEvent(QMouseEvent* event) {
  QListWidgetItem* entry = itemAt(event->position().toPoint());
  if (entry == nullptr || event->button() != Qt::LeftButton) return event->accept();
  {
    // The click handler below stands for whatever the press selects.
    const QSignalBlocker quiet(this);
    QListWidget::mousePressEvent(event);
    // Ctrl and a click would have taken the selection away.
    setCurrentItem(entry);
  }
  if (onEntryClick_) onEntryClick_(row(entry));
}

QtFileList::QtFileList(FileListWidget& list, BrowserState& state, const EventRouter& events,
                       std::vector<ContextMenuEntry> menu)
    : list_(list), state_(state), events_(events), menu_(std::move(menu)) {
  list_.setSelectionMode(QAbstractItemView::SingleSelection);
  ShowFiles();
  list_.SetEntryClickHandler([this](int row) { OnEntryClick(row); });
  QObject::connect(&list_, &QListWidget::itemSelectionChanged, &connections(), [this] { OnSelectionChange(); });
  if (menu_.empty()) return;
  menuRequests_.emplace(list_, [this](std::optional<QPoint> pointer) { ShowContextMenu(pointer); });
}

std::u16string QtFileList::List(int index) const {
  return index >= 0 && index < ListCount() ? state_.files()[static_cast<std::size_t>(index)] : u"";
}

void QtFileList::SetPath(const std::u16string& folder) {
  state_.ShowFiles(folder);
  ShowFiles();
}

void QtFileList::SetSelected(int index, bool selected) {
  if (selected) {
    state_.SelectFile(index);
  } else if (index == state_.selectedFile()) {
    state_.SelectFile(-1);
  }
  ShowSelection();
}

void QtFileList::RestorePreviousSelection() {
  state_.RestorePreviousFile();
  ShowSelection();
}

void QtFileList::Refresh() {
  state_.RefreshFiles();
  ShowFiles();
}

void QtFileList::OnEntryClick(int row) {
  state_.SelectFile(row);
  events_.Raise(&FormEvents::lstFile_Click);
}

void QtFileList::OnSelectionChange() {
  const QList<QListWidgetItem*> selected = list_.selectedItems();
  // Ctrl and Space would leave nothing selected: only the program may.
  if (selected.isEmpty()) return ShowSelection();
  OnEntryClick(list_.row(selected.front()));
}

void QtFileList::ShowContextMenu(std::optional<QPoint> pointer) {
  QListWidgetItem* item = pointer ? list_.itemAt(*pointer) : list_.currentItem();
  if (item == nullptr) return;
  if (!pointer) list_.scrollToItem(item);
  const int row = list_.row(item);
  const QString name = item->text();
  QMenu menu(&list_);
  const std::vector<QAction*> actions = AddWindowEntries(menu, menu_, events_);
  // The handler runs once the menu has closed; events handled meanwhile may
  // have listed the folder afresh, and then the row may hold another file.
  const QAction* chosen = RunContextMenu(menu, *list_.viewport(), pointer, list_.visualItemRect(item).center());
  const ContextMenuEntry* entry = ChosenWindowEntry(chosen, actions, menu_);
  if (entry == nullptr) return;
  const QListWidgetItem* stillThere = list_.item(row);
  if (stillThere != nullptr && stillThere->text() == name) events_.Raise(std::get<ListEntryCommand>(entry->command), row);
}

void QtFileList::ShowFiles() {
  const QSignalBlocker quiet(list_);
  list_.clear();
  for (const std::u16string& name : state_.files()) list_.addItem(ToQString(ShownName(name)));
  ShowSelection();
}

void QtFileList::ShowSelection() {
  const QSignalBlocker quiet(list_);
  list_.setCurrentRow(state_.selectedFile());
}

}  // namespace velmora
