#include "platform/fake/fake_accessible.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace maqo::platform::fake {

namespace {

class FakeElement : public AccessibleElement {
 public:
  FakeElement(FakeAccessibleTree& tree, int id) : tree_(tree), id_(id) {}
  std::optional<int> role() override { return row().role; }
  uint32_t state() override { return row().state; }
  std::u16string name() override { return row().name; }
  std::optional<std::u16string> value() override {
    if (row().valueFails) return std::nullopt;
    return row().value;
  }
  std::u16string description() override { return row().description; }
  std::u16string help() override { return row().help; }
  std::u16string defaultAction() override { return u"Press"; }
  std::optional<AccessibleRect> location() override { return row().rect; }
  int childCount() override { return static_cast<int>(tree_.childrenOf(id_, false).size()); }
  std::unique_ptr<AccessibleElement> firstChild() override {
    auto kids = tree_.childrenOf(id_, true);
    if (kids.empty()) return nullptr;
    return tree_.element(kids.front()->id);
  }
  std::unique_ptr<AccessibleElement> nextSibling() override {
    auto siblings = tree_.childrenOf(row().parent, true);
    for (size_t i = 0; i < siblings.size(); ++i) {
      if (siblings[i]->id != id_) continue;
      if (i + 1 < siblings.size()) return tree_.element(siblings[i + 1]->id);
      if (tree_.navigationWraps) return tree_.element(siblings.front()->id);
      return nullptr;
    }
    return nullptr;
  }
  std::unique_ptr<AccessibleElement> child(int index) override {
    auto kids = tree_.childrenOf(id_, false);
    if (index < 1 || index > static_cast<int>(kids.size())) return nullptr;
    return tree_.element(kids[index - 1]->id);
  }
  int64_t siblingId() override { return id_; }
  bool doDefaultAction() override {
    if (row().actionFails) return false;
    tree_.log.push_back(u"action " + row().name);
    return true;
  }
  bool takeFocus() override {
    tree_.log.push_back(u"focus " + row().name);
    return true;
  }
  bool putValue(const std::u16string& text) override {
    if (row().valueWriteFails) return false;
    tree_.log.push_back(u"value " + row().name + u"=" + text);
    row().value = text;
    return true;
  }

 private:
  FakeAccessibleRow& row() { return tree_.row(id_); }
  FakeAccessibleTree& tree_;
  int id_;
};

}  // namespace

std::unique_ptr<AccessibleElement> FakeAccessibleTree::root() { return element(0); }
std::unique_ptr<AccessibleElement> FakeAccessibleTree::element(int id) {
  return std::make_unique<FakeElement>(*this, id);
}

FakeAccessibleRow& FakeAccessibleTree::row(int id) {
  for (auto& r : rows_)
    if (r.id == id) return r;
  throw std::out_of_range("no such accessible element");
}

bool FakeAccessibleTree::has(int id) const {
  for (const auto& r : rows_)
    if (r.id == id) return true;
  return false;
}

int FakeAccessibleTree::lastId() const {
  int last = 0;
  for (const auto& r : rows_) last = std::max(last, r.id);
  return last;
}

std::vector<const FakeAccessibleRow*> FakeAccessibleTree::childrenOf(int id, bool byNavigation) const {
  std::vector<const FakeAccessibleRow*> out;
  for (const auto& r : rows_)
    if (r.parent == id && r.id != id && (byNavigation ? r.byNavigation : r.byIndex)) out.push_back(&r);
  return out;
}

std::unique_ptr<AccessibleElement> FakeAccessibility::fromWindow(WindowHandle window) {
  for (auto& [handle, tree] : trees_)
    if (handle == window) return tree->root();
  return nullptr;
}

std::unique_ptr<AccessibleElement> FakeAccessibility::fromPoint(int x, int y) {
  for (auto it = trees_.rbegin(); it != trees_.rend(); ++it) {
    FakeAccessibleTree& tree = *it->second;
    for (int id = tree.lastId(); id >= 0; --id) {
      if (!tree.has(id)) continue;
      const AccessibleRect& r = tree.row(id).rect;
      if (x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height) return tree.element(id);
    }
  }
  return nullptr;
}

std::u16string FakeAccessibility::roleText(int role) {
  std::u16string text = u"role ";
  for (char ch : std::to_string(role)) text += static_cast<char16_t>(ch);
  return text;
}

std::u16string FakeAccessibility::stateText(uint32_t bit) {
  switch (bit) {
    case 0x1: return u"unavailable";
    case 0x2: return u"selected";
    case 0x4: return u"focused";
    case 0x10: return u"checked";
    case 0x20: return u"mixed";
    default: return u"state";
  }
}

}  // namespace maqo::platform::fake
