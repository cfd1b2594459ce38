#include "automation/accessibility/find_accessible.h"

#include <algorithm>
#include <set>

#include "automation/accessibility/accessible_roles.h"
#include "automation/accessibility/accessible_text.h"

namespace maqo::automation::accessibility {

namespace {

namespace sk = search_kind;
using platform::AccessibleElement;
using platform::AccessibleRect;

// Navigation through siblings stops after this many steps even when the
// server reports fewer children, since a faulty server may loop forever.
constexpr int kNavigationCap = 512;

struct SeenElement {
  AccessibleRect rect;
  std::u16string text;
};

class Walk {
 public:
  Walk(const AccessibleSearch& s, AccessibleResume& resume, const AccessibleWalkEnv& env)
      : s_(s), resume_(resume), env_(env), kind_(s.kind == sk::kEditNoFocus ? sk::kEdit : s.kind),
        noFocus_(s.kind == sk::kEditNoFocus) {
    query_.name = s.text;
    query_.partial = has(sk::kShort);
    query_.normalise = false;
    if (has(sk::kContinue)) skipMatches_ = resume.matchesPassed;
    else resume.matchesPassed = 0;
  }

  AccessibleOutcome run(AccessibleElement& root) {
    walk(root);
    if (isCollecting()) out_.found = !out_.collected.empty();
    return std::move(out_);
  }

 private:
  bool has(uint32_t bit) const { return (kind_ & bit) != 0; }
  bool isCollecting() const { return (kind_ & sk::kCollecting) != 0; }
  bool isClickKind() const { return (kind_ & sk::kClick) != 0 && !isCheckQuery(); }
  bool isCheckQuery() const { return (kind_ & sk::kCheckQuery) == sk::kCheckQuery; }
  bool isEdit() const { return (kind_ & 0xFFFFFFF & ~sk::kContinue) == sk::kEdit; }
  bool isCell() const { return (kind_ & 0xFFFFFFF & ~sk::kContinue) == sk::kCell; }
  bool isStatic() const { return (kind_ & 0xFFFFFFF & ~sk::kContinue) == sk::kStatic; }
  bool done() const { return ended_ || (env_.stopping && env_.stopping()); }
  bool limitReached() const {
    return isCollecting() && s_.maxCount > 0 && static_cast<int>(out_.collected.size()) >= s_.maxCount;
  }

  void walk(AccessibleElement& object) {
    if (env_.pause) env_.pause();
    if (done() || limitReached()) return;
    visit(object);
    if (done()) return;
    visitNavigationChildren(object);
    if (done()) return;
    visitIndexChildren(object);
  }

  // The children reachable by navigation; the loop ends on a child already
  // met (servers that wrap around), after a bounded number of steps, and on
  // a stop request.
  void visitNavigationChildren(AccessibleElement& object) {
    const int limit = std::max(object.childCount() + 1, kNavigationCap);
    std::set<int64_t> met;
    std::unique_ptr<AccessibleElement> child = object.firstChild();
    for (int steps = 0; child && steps < limit && !done() && !limitReached(); ++steps) {
      if (!met.insert(child->siblingId()).second) break;
      visit(*child);
      child = child->nextSibling();
    }
  }

  void visitIndexChildren(AccessibleElement& object) {
    const int n = object.childCount();
    for (int step = 0; step < n && !done(); ++step) {
      const int index = has(sk::kFromLast) ? n - step : step + 1;
      if (std::unique_ptr<AccessibleElement> child = object.child(index)) walk(*child);
    }
  }

  void visit(AccessibleElement& e) {
    const std::optional<int> role = e.role();
    if (!role) return;
    uint32_t st = e.state();
    bool byMouse = false;
    if (!isCandidate(*role, st, e, byMouse)) return;
    const std::optional<AccessibleRect> rect = e.location();
    if (!rect) return;
    if (st == 0) st = e.state();
    const std::u16string name = e.name();
    if (*role == role::kClient && s_.clientSize &&
        std::pair{rect->width, rect->height} == *s_.clientSize)
      return;
    const TextSource source = has(sk::kNameOnly) ? TextSource::NameOnly
                              : has(sk::kValueOnly) ? TextSource::ValueOnly
                                                    : TextSource::Default;
    const bool editKind = isEdit() || has(sk::kCollectEdit);
    std::u16string text = ElementText(source, *role, name, (source == TextSource::NameOnly) ? std::nullopt : e.value(),
                                      editKind);
    // An element reachable both by navigation and by index is examined once,
    // so the n-th editable element is never the (n-1)-th met again.
    if (isCell() || isEdit()) {
      if (alreadySeen(*rect, text)) return;
      if (isCell()) return visitEditable(e, *rect, text, st, *role == role::kCell);
      return visitEditable(e, *rect, text, st, *role == role::kText);
    }
    text = CleanElementText(text);
    if (alreadySeen(*rect, text)) return;
    if (has(sk::kCollectEdit)) {
      if (*role == role::kText && !(st & state::kReadOnly)) collect(text, *rect);
      return;
    }
    if (isStatic()) {
      if (isStaticRole(*role, st) && ++matches_ == s_.number) hit(text, *rect);
      return;
    }
    if (text.empty() && *role == role::kPushButton) text = e.description();
    if (text.empty() && *role != role::kPushButton && *role != role::kRadioButton && *role != role::kCheckButton)
      return;
    if (byMouse || IsClickable(*role, st)) {
      if (has(sk::kCollectClickable)) {
        if (s_.mode == 0 && (st & state::kUnavailable)) return;
        if (std::u16string item = controls::NormaliseItemName(text); !item.empty()) collect(item, *rect);
        return;
      }
      if (!isClickKind() && !isCheckQuery()) return;
      if (!AccNameMatches(text, query_, env_.halfWidth)) return;
      // An unavailable element is never operated, and is not counted, so the
      // next call with CLK_CONTINUE passes it.
      if (isClickKind() && (st & state::kUnavailable)) return;
      if (++matches_ != s_.number + skipMatches_) return;
      if (isCheckQuery()) return hit(CheckStateText(*role, st), *rect);
      if (!operate(e, *role, st, byMouse, *rect)) return;
      resume_.matchesPassed = matches_;
      hit(text, *rect);
      return;
    }
    if (has(sk::kCollectText) && isStaticRole(*role, st)) collect(text, *rect);
  }

  // True when an element of this location and text was examined before in
  // this search; otherwise it is noted as examined.
  bool alreadySeen(const AccessibleRect& rect, const std::u16string& text) {
    for (const SeenElement& seen : seen_)
      if (seen.rect == rect && seen.text == text) return true;
    seen_.push_back({rect, text});
    return false;
  }

  static bool isStaticRole(int r, uint32_t st) {
    return IsTableFamily(r) || r == role::kStaticText || (r == role::kText && (st & state::kReadOnly));
  }

  static std::u16string CheckStateText(int r, uint32_t st) {
    if (st & state::kMixed) return u"2";
    return IsOn(r, st) ? u"1" : u"0";
  }

  bool isCandidate(int r, uint32_t st, AccessibleElement& e, bool& byMouse) {
    if (kind_ & 0x8408001) {
      if (IsClickable(r, st)) return true;
      if (has(sk::kMouseVariant) && r == role::kText && (st & state::kSelectable)) {
        std::u16string trimmed = CleanElementText(e.name());
        if (!trimmed.empty()) {
          byMouse = true;
          return true;
        }
      }
    }
    if ((has(sk::kCollectText) || isStatic()) && (IsTableFamily(r) || r == role::kStaticText || r == role::kText))
      return true;
    if (isCell() && r == role::kCell) return true;
    if ((isEdit() || has(sk::kCollectEdit)) && r == role::kText) return true;
    return false;
  }

  // Clicks by the default action unless the element is already in the
  // desired state.
  bool operate(AccessibleElement& e, int r, uint32_t st, bool byMouse, const AccessibleRect& rect) {
    e.takeFocus();
    const bool inDesiredState = IsOn(r, st) == (s_.mode != 0);
    if (env_.click) return env_.click(e, ClickTarget{r, st, byMouse, inDesiredState, rect});
    if (!inDesiredState) e.doDefaultAction();
    return true;
  }

  // Editable texts and cells: number 0 is the focused one, otherwise the n-th.
  void visitEditable(AccessibleElement& e, const AccessibleRect& rect, const std::u16string& text, uint32_t st,
                     bool roleFits) {
    if (!roleFits || (st & state::kReadOnly)) return;
    if (s_.number == 0 ? !(st & state::kFocused) : ++matches_ != s_.number) return;
    if (s_.mode == 1 || s_.mode == 2) {
      if (!noFocus_) e.takeFocus();
      const std::u16string written = s_.mode == 1 ? e.value().value_or(u"") + s_.text : s_.text;
      // Nothing written either way: no hit.
      if (!e.putValue(written) && !(env_.writeInstead && env_.writeInstead(written))) return;
      return hit(written, rect);
    }
    hit(text, rect);
  }

  void collect(const std::u16string& text, const AccessibleRect& rect) {
    if (limitReached()) return;
    out_.collected.push_back(text);
    (void)rect;
  }

  void hit(const std::u16string& text, const AccessibleRect& rect) {
    out_.found = true;
    out_.text = text;
    out_.location = rect;
    ended_ = true;
  }

  const AccessibleSearch& s_;
  AccessibleResume& resume_;
  const AccessibleWalkEnv& env_;
  uint32_t kind_;
  bool noFocus_;
  controls::ItemQuery query_;
  int skipMatches_ = 0;
  int matches_ = 0;
  bool ended_ = false;
  std::vector<SeenElement> seen_;
  AccessibleOutcome out_;
};

}  // namespace

AccessibleOutcome FindAccessible(platform::AccessibleElement& root, const AccessibleSearch& search,
                                 AccessibleResume& resume, const AccessibleWalkEnv& env) {
  Walk walk(search, resume, env);
  return walk.run(root);
}

}  // namespace maqo::automation::accessibility
