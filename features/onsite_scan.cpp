#include "features/onsite_scan.h"

#include <algorithm>
#include <limits>

#include "core/beeper.h"
#include "core/context.h"
#include "core/isbn.h"
#include "core/text.h"
#include "data/MainDataUnit.h"

namespace {

int Index(ScanField f) { return static_cast<int>(f); }
int Index(ScanPanel p) { return static_cast<int>(p); }

std::string Dec(long long v) { return ToDecimal(v); }

// A suggestion is target - held - bought, where a failed lookup counts -1;
// kept inside the range a tally count can take.
int32_t Suggestion(int target, int32_t held, int32_t bought) {
  long long s = static_cast<long long>(target) - held - bought;
  s = std::clamp<long long>(s, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
  return static_cast<int32_t>(s);
}

}  // namespace

OnsiteScan::OnsiteScan(Context& ctx, Beeper& beeper) : ctx_(ctx), beeper_(beeper) {
  view_.panels[Index(ScanPanel::pnlZT1)].text = Gbk("已有几本，已采购几本，现采购：");
}

std::string OnsiteScan::InvalidLabelText() { return Gbk("非法ISBN/ISSN"); }

void OnsiteScan::KeyPressed(ScanField field) {
  if (field != ScanField::edtZTQR) view_.invalid[Index(field)] = false;
}

bool OnsiteScan::Enter(const OnsiteScanSettings& s, ScanField field, const std::string& text) {
  if (field == ScanField::edtZTQR) {
    if (!awaitingQuantity_) return false;
    view_.updated.clear();
    ConfirmQuantity(text);
    return true;
  }
  view_.invalid[Index(field)] = false;
  if (TrimControls(text).empty()) return false;
  view_.updated.clear();
  view_.changedFields.clear();
  std::string key;
  if (!TakeScan(s, field, text, &key)) return true;
  switch (field) {
    case ScanField::edtZTCG: ConfirmPurchase(s, key); break;
    case ScanField::edtZTTC: ConfirmRemove(key); break;
    case ScanField::edtLXCG: ContinuousPurchase(s, key); break;
    case ScanField::edtLXTC: ContinuousRemove(key); break;
    case ScanField::edtJD: Remind(s, key); break;
    case ScanField::edtZTQR: break;
  }
  return true;
}

// Checks and converts the entry; false when it is refused (red label shown).
bool OnsiteScan::TakeScan(const OnsiteScanSettings& s, ScanField field, const std::string& text, std::string* key) {
  SetField(field, text);
  if (s.conversion != ScanConversion::None) {
    IsbnCheckResult r = CheckIsbn(text);
    if (!r.Valid) {
      view_.invalid[Index(field)] = true;
      // With the display form the tab's answers would describe a code that
      // is no longer in the field; with the plain form they stay.
      if (s.conversion == ScanConversion::Hyphenated) HideTabPanels(field);
      FocusOn(field, false);
      return false;
    }
    SetField(field, s.conversion == ScanConversion::Hyphenated ? FormatIsbn(r.Isbn) : r.Isbn);
  }
  *key = view_.fields[Index(field)];
  return true;
}

void OnsiteScan::ConfirmPurchase(const OnsiteScanSettings& s, const std::string& key) {
  awaitingQuantity_ = false;
  pendingKey_.clear();
  SetText(ScanPanel::pnlZT1, "");
  Show(ScanPanel::pnlZT1, true);
  Show(ScanPanel::pnlZT2, true);
  TMainData& db = MainData(ctx_);
  const int32_t held = db.GetHeldCopies(key);
  const int32_t bought = db.GetBoughtCopies(key);
  SoundFor(s, held > 0);
  SetText(ScanPanel::pnlZT1, Gbk("已有[ ") + Dec(held) + Gbk(" ]本，已采购[ ") + Dec(bought) + Gbk(" ]本，现采购："));
  SetField(ScanField::edtZTQR, Dec(Suggestion(s.target, held, bought)));
  MarkUpdated(ScanPanel::pnlZT2);
  awaitingQuantity_ = true;
  pendingKey_ = key;
  FocusOn(ScanField::edtZTQR, true);
}

void OnsiteScan::ConfirmQuantity(const std::string& text) {
  Show(ScanPanel::pnlZT2, false);
  SetField(ScanField::edtZTQR, text);
  const std::string key = pendingKey_;
  awaitingQuantity_ = false;
  pendingKey_.clear();
  // Back to the purchase field first, so that a failing tally change still
  // leaves the clerk ready for the next scan.
  SetField(ScanField::edtZTCG, key);
  FocusOn(ScanField::edtZTCG, true);
  // The field's whole number; empty, not a number or beyond a count: 0.
  long long q = 0;
  if (!ParseDecimal(text, &q) || q > std::numeric_limits<int32_t>::max()) q = 0;
  // A confirmation below 1 (a cleared field, or a negative suggestion when
  // the title already has more than the target) buys nothing: lowering a
  // tally is left to the maintenance page, never to an Enter press.
  if (q > 0) {
    const int32_t added = MainData(ctx_).AddToTally(key, static_cast<int32_t>(q));
    SetText(ScanPanel::pnlZT1, key + Gbk("  确认采购[ ") + Dec(added) + Gbk(" ]本。"));
  } else {
    SetText(ScanPanel::pnlZT1, key + Gbk("  确认不采购"));
  }
}

void OnsiteScan::ConfirmRemove(const std::string& key) {
  awaitingQuantity_ = false;
  pendingKey_.clear();
  SetText(ScanPanel::pnlZT1, "");
  Show(ScanPanel::pnlZT1, true);
  Show(ScanPanel::pnlZT2, false);
  FocusOn(ScanField::edtZTTC, true);
  MainData(ctx_).RemoveFromTally(key);
  SetText(ScanPanel::pnlZT1, Gbk("剔除 ISBN[ ") + key + Gbk(" ] 的采购数据成功"));
}

void OnsiteScan::ContinuousPurchase(const OnsiteScanSettings& s, const std::string& key) {
  SetText(ScanPanel::pnlEndingIsbn, "");
  SetText(ScanPanel::pnlResult, "");
  Show(ScanPanel::pnlEndingIsbn, true);
  Show(ScanPanel::pnlResult, true);
  FocusOn(ScanField::edtLXCG, true);
  TMainData& db = MainData(ctx_);
  const int32_t held = db.GetHeldCopies(key);
  const int32_t bought = db.GetBoughtCopies(key);
  const int32_t suggested = Suggestion(s.target, held, bought);
  SoundFor(s, held > 0);
  std::string result = Gbk("现有[") + Dec(held) + Gbk("]本，");
  if (suggested > 0) {
    const int32_t added = db.AddToTally(key, suggested);
    result += Gbk("已采购[") + Dec(bought) + Gbk("]本，继续采购[") + Dec(added) + Gbk("]本");
  } else if (bought > 0) {
    result += Gbk("已采购[") + Dec(bought) + Gbk("]本，不做采购");
  } else {
    result += Gbk("不做采购");
  }
  SetText(ScanPanel::pnlResult, result);
  SetText(ScanPanel::pnlEndingIsbn, key);
}

void OnsiteScan::ContinuousRemove(const std::string& key) {
  SetText(ScanPanel::pnlEndingIsbn, "");
  SetText(ScanPanel::pnlResult, "");
  Show(ScanPanel::pnlEndingIsbn, true);
  Show(ScanPanel::pnlResult, true);
  FocusOn(ScanField::edtLXTC, true);
  MainData(ctx_).RemoveFromTally(key);
  SetText(ScanPanel::pnlEndingIsbn, key);
  SetText(ScanPanel::pnlResult, Gbk("剔除ISBN[") + key + Gbk("]的采购数据成功"));
}

void OnsiteScan::Remind(const OnsiteScanSettings& s, const std::string& key) {
  SetText(ScanPanel::pnlJD, "");
  Show(ScanPanel::pnlJD, true);
  FocusOn(ScanField::edtJD, true);
  const std::string title = MainData(ctx_).GetHeldTitle(key);
  SoundFor(s, !title.empty());
  SetText(ScanPanel::pnlJD, title.empty() ? key + Gbk("  没找到！") : title + Gbk(", 已有"));
}

std::string OnsiteScan::PanelText(ScanPanel panel) const {
  if (panel == ScanPanel::pnlZT2) return view_.field(ScanField::edtZTQR) + Gbk("本。");
  return view_.panel(panel).text;
}

std::string OnsiteScan::TypeIntoQuantity(const std::string& current, const std::string& typed) {
  std::string text = current;
  bool selected = true;
  for (unsigned char c : typed) {
    if (!IsQuantityKey(c)) continue;
    if (selected) text.clear();
    selected = false;
    if (c == '\b') {
      if (!text.empty()) text.pop_back();
    } else {
      text += static_cast<char>(c);
    }
  }
  return text;
}

void OnsiteScan::SoundFor(const OnsiteScanSettings& s, bool held) {
  if (held ? s.soundHeld : s.soundNew) beeper_.Tone(kScanToneHertz, kScanToneMilliseconds);
}

void OnsiteScan::Show(ScanPanel p, bool visible) { view_.panels[Index(p)].visible = visible; }

// An emptied panel is not an answer; a panel set twice is listed once.
void OnsiteScan::SetText(ScanPanel p, const std::string& text) {
  view_.panels[Index(p)].text = text;
  auto& u = view_.updated;
  auto it = std::lower_bound(u.begin(), u.end(), p);
  if (text.empty() && it != u.end() && *it == p) u.erase(it);
  if (!text.empty()) MarkUpdated(p);
}

void OnsiteScan::MarkUpdated(ScanPanel p) {
  auto& u = view_.updated;
  auto it = std::lower_bound(u.begin(), u.end(), p);
  if (it == u.end() || *it != p) u.insert(it, p);
}

void OnsiteScan::SetField(ScanField f, const std::string& text) {
  view_.fields[Index(f)] = text;
  auto& c = view_.changedFields;
  if (std::find(c.begin(), c.end(), f) == c.end()) c.push_back(f);
}

void OnsiteScan::HideTabPanels(ScanField field) {
  switch (field) {
    case ScanField::edtZTCG:
    case ScanField::edtZTTC:
      Show(ScanPanel::pnlZT1, false);
      Show(ScanPanel::pnlZT2, false);
      awaitingQuantity_ = false;  // the quantity field went with its panel
      pendingKey_.clear();
      break;
    case ScanField::edtLXCG:
    case ScanField::edtLXTC:
      Show(ScanPanel::pnlEndingIsbn, false);
      Show(ScanPanel::pnlResult, false);
      break;
    default:
      Show(ScanPanel::pnlJD, false);
      break;
  }
}

void OnsiteScan::FocusOn(ScanField field, bool selected) {
  view_.focus = field;
  view_.focusSelected = selected;
}
