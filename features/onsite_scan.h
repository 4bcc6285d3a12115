// "现场采购": the three scanning modes of the purchase page.
//
// A clerk scans the barcode of a book; the scanner types the code into the
// focused field and ends it with Enter. The engine takes that Enter, checks
// and converts the code into the lookup key, looks the key up in the
// holdings (buyer) and the tally (locale), keeps the tally, sounds the tone
// and sets the texts of the page's panels. The page and lumarin-cli only
// hand over the field's text, then show what view() holds.
//
//   逐条确认模式 (confirm)      edtZTCG purchase, edtZTTC remove, edtZTQR quantity
//                               panels pnlZT1 (message), pnlZT2 (quantity + "本。")
//   连续扫描模式 (continuous)   edtLXCG purchase, edtLXTC remove
//                               panels pnlEndingIsbn (last key), pnlResult
//   简单提醒模式 (reminder)     edtJD; panel pnlJD; never touches the tally
//
// The confirm mode has two states: waiting for a scan, and waiting for a
// quantity (after a valid purchase scan; pnlZT2 shown, focus in edtZTQR).
// Enter in the quantity field stores the purchase and leads back; a scan in
// either confirm field while a quantity waits drops the suggestion (except a
// code refused under the plain conversion, which leaves the panels, and so
// the waiting quantity, as they were). The other
// modes handle every Enter completely. Every tally change is durable before
// Enter returns (data/MainDataUnit.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Context;
class Beeper;

// The page's entry fields, by their control names.
enum class ScanField { edtZTCG, edtZTTC, edtZTQR, edtLXCG, edtLXTC, edtJD };
inline constexpr int kScanFieldCount = 6;

// The result panels, in the order the page lays them out.
enum class ScanPanel { pnlZT1, pnlZT2, pnlEndingIsbn, pnlResult, pnlJD };
inline constexpr int kScanPanelCount = 5;

// How a scanned entry becomes the lookup key (the radio items of "现采参数").
enum class ScanConversion {
  Hyphenated,  // 转换为ISBN/ISSN带"-"符号格式查重: FormatIsbn of the checked code (default)
  Plain,       // 按ISBN（10位）/ISSN（8位）查重: the checked code without hyphens
  None,        // 不作任何转换进行查重: the entry exactly as typed, unchecked
};

// The settings group "现采参数", read at every scan.
struct OnsiteScanSettings {
  ScanConversion conversion = ScanConversion::Hyphenated;
  // spePnl2 "已有数 + 采购 =": copies held plus copies bought wanted of one
  // title, 1 to 100; default 1.
  int target = 1;
  bool soundHeld = false;  // chkRepeat "重复时": sound when the title is held
  bool soundNew = false;   // chkNotRepeat "不重复时": sound when it is not
};

// The tone: 800 Hz for 50 ms.
inline constexpr int kScanToneHertz = 800;
inline constexpr int kScanToneMilliseconds = 50;

struct ScanPanelState {
  bool visible = false;
  std::string text;  // GBK
};

// Everything the page shows that the engine decides. All texts are GBK.
struct OnsiteScanView {
  // Indexed by ScanPanel. pnlZT1 starts with its placeholder text; pnlZT2's
  // text is not used (it holds the quantity field; see PanelText).
  std::array<ScanPanelState, kScanPanelCount> panels;
  // The red label "非法ISBN/ISSN" over each entry field (edtZTQR has none).
  std::array<bool, kScanFieldCount> invalid{};
  // Each field's text as the engine last left it: the entry as given to
  // Enter, or the converted key; for edtZTQR the suggested quantity.
  std::array<std::string, kScanFieldCount> fields;
  // Where the focus is after the last Enter that acted, and whether the
  // focused field's whole text is selected (so that the next scan or the
  // typed quantity replaces it). A refused entry leaves its text unselected.
  ScanField focus = ScanField::edtZTCG;
  bool focusSelected = false;
  // The panels whose text the last Enter set, in layout order (what
  // lumarin-cli prints), and the fields whose text it set (what the page
  // writes back into its fields). Emptied at the start of every Enter.
  std::vector<ScanPanel> updated;
  std::vector<ScanField> changedFields;

  const ScanPanelState& panel(ScanPanel p) const { return panels[static_cast<int>(p)]; }
  bool isInvalid(ScanField f) const { return invalid[static_cast<int>(f)]; }
  const std::string& field(ScanField f) const { return fields[static_cast<int>(f)]; }
};

class OnsiteScan {
 public:
  // `ctx` gives the database (opened on first use); `beeper` plays the
  // tone. Both must outlive the engine.
  OnsiteScan(Context& ctx, Beeper& beeper);

  const OnsiteScanView& view() const { return view_; }

  // True in the confirm mode's second state (a suggestion waits in
  // edtZTQR for Enter).
  bool AwaitingQuantity() const { return awaitingQuantity_; }
  // The key the waiting suggestion is for (empty when none waits).
  const std::string& PendingKey() const { return pendingKey_; }

  // Any key other than Enter pressed in an entry field: hides that field's
  // red label.
  void KeyPressed(ScanField field);

  // Enter in `field`, whose text is `text` at that moment. Returns false
  // when the Enter did nothing: a blank entry (only blanks and control
  // characters), or Enter in edtZTQR while no suggestion waits. Otherwise
  // view() shows the answer. Throws EDatabaseError when the database cannot
  // be opened or refuses a tally change; view() then keeps what was set
  // before the failure, and the confirm mode is back to waiting for a scan.
  bool Enter(const OnsiteScanSettings& settings, ScanField field, const std::string& text);

  // The text a panel shows: its text, or for pnlZT2 the quantity field
  // followed by "本。".
  std::string PanelText(ScanPanel panel) const;

  // The keys the quantity field takes from the keyboard: the digits and
  // backspace. Every other typed character is dropped (Enter after it acts).
  static bool IsQuantityKey(char32_t ch) { return ch == U'\b' || (ch >= U'0' && ch <= U'9'); }

  // What edtZTQR holds after `typed` is typed into it while its whole text
  // `current` is selected: the first accepted key replaces the selection,
  // later digits are appended, backspace deletes the last character, other
  // characters are dropped. Nothing typed keeps `current`.
  static std::string TypeIntoQuantity(const std::string& current, const std::string& typed);

  // "非法ISBN/ISSN" (GBK).
  static std::string InvalidLabelText();

 private:
  bool TakeScan(const OnsiteScanSettings& s, ScanField field, const std::string& text, std::string* key);
  void ConfirmPurchase(const OnsiteScanSettings& s, const std::string& key);
  void ConfirmQuantity(const std::string& text);
  void ConfirmRemove(const std::string& key);
  void ContinuousPurchase(const OnsiteScanSettings& s, const std::string& key);
  void ContinuousRemove(const std::string& key);
  void Remind(const OnsiteScanSettings& s, const std::string& key);

  void SoundFor(const OnsiteScanSettings& s, bool held);
  void Show(ScanPanel p, bool visible);
  void SetText(ScanPanel p, const std::string& text);
  void MarkUpdated(ScanPanel p);
  void HideTabPanels(ScanField field);
  void FocusOn(ScanField field, bool selected);
  void SetField(ScanField f, const std::string& text);

  Context& ctx_;
  Beeper& beeper_;
  OnsiteScanView view_;
  bool awaitingQuantity_ = false;
  std::string pendingKey_;
};
