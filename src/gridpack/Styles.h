// Styles of the grid pack: style objects, the repository that makes them,
// style slots and style sheets, and the view parameters a painter (or an
// exporter) reads.
//
// A `TcxStyle` is a component of its own (owned by the form, usually made
// by a `TcxStyleRepository`) that several views may share.  It says some or
// all of: a fill colour, a font, a text colour and a bitmap; what it says is
// in `AssignedValues` (the bitmap counts as assigned when it holds a
// picture).  A styles object (`TcxCustomStyles`) holds one slot per area of
// a view or item, addressed by index; the style of a slot is the style
// assigned to it or, when none is, the style of the same slot in the styles
// object's style sheet.  Freeing a style or a style sheet clears every slot
// and styles object that refers to it.
//
// `TcxViewParams` are what an area is painted with: the first style of a
// chain (events first, then slots) that assigns a value gives it; values
// nobody assigns come from the area's defaults.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Components.h"
#include "platform/Fonts.h"

namespace kv {

class TcxCustomStyles;
class TcxCustomStyleSheet;
class TcxStyleRepository;

// What a style assigns (bits of `AssignedValues`).
enum TcxStyleValue : uint8_t { svBitmap = 0x01, svColor = 0x02, svFont = 0x04, svTextColor = 0x08 };
using TcxStyleValues = uint8_t;

class TcxStyle : public TComponent {
 public:
  explicit TcxStyle(TComponent* AOwner = nullptr);
  ~TcxStyle() override;

  // Setting a value also marks it assigned.
  TColor Color() const { return FColor; }
  void SetColor(TColor AValue);
  TColor TextColor() const { return FTextColor; }
  void SetTextColor(TColor AValue);
  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& AValue);
  // The style's own bitmap object (never nullptr): pictures are loaded into
  // it, so every view that uses the style shows the new picture.
  TBitmap* Bitmap() const { return FBitmap.get(); }

  // The values the style assigns; svBitmap whenever the bitmap is not empty.
  TcxStyleValues AssignedValues() const;
  // Drops assignments (the values stay, unused); svBitmap empties the bitmap.
  void RestoreDefaults(TcxStyleValues AValues = svColor | svFont | svTextColor | svBitmap);

 private:
  friend class TcxCustomStyles;
  friend class TcxStyleRepository;
  TColor FColor = clDefault;
  TColor FTextColor = clDefault;
  TFont FFont;
  std::unique_ptr<TBitmap> FBitmap;
  TcxStyleValues FAssigned = 0;
  std::vector<TcxCustomStyles*> FUsers;  // styles objects with a slot holding this style
  TcxStyleRepository* FRepository = nullptr;
};

// Makes styles for a form: each style is owned by the repository's owner
// (the form), and the repository lists the styles it made and frees them
// when it is freed.
class TcxStyleRepository : public TComponent {
 public:
  explicit TcxStyleRepository(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
  ~TcxStyleRepository() override;

  TcxStyle* CreateItem();
  int Count() const { return static_cast<int>(FItems.size()); }
  TcxStyle* Items(int AIndex) const;  // list-index error when out of range

 private:
  friend class TcxStyle;
  std::vector<TcxStyle*> FItems;
};

// What an area is painted with.  `Font` is never nullptr once the params
// were resolved.
struct TcxViewParams {
  TBitmap* Bitmap = nullptr;  // nullptr: no picture
  TColor Color = clDefault;
  const TFont* Font = nullptr;
  TColor TextColor = clDefault;
};

// Fills AParams from a chain of styles, first one first: each value comes
// from the first style in the chain that assigns it, else from the defaults
// (ADefaultColor, ADefaultTextColor, ADefaultFont, no bitmap).  nullptr
// entries are skipped.
void ResolveViewParams(std::initializer_list<const TcxStyle*> AChain, TColor ADefaultColor, TColor ADefaultTextColor,
                       const TFont* ADefaultFont, TcxViewParams& AParams);
void ResolveViewParams(const std::vector<const TcxStyle*>& AChain, TColor ADefaultColor, TColor ADefaultTextColor,
                       const TFont* ADefaultFont, TcxViewParams& AParams);

// A set of style slots addressed by index, with an optional style sheet.
class TcxCustomStyles {
 public:
  explicit TcxCustomStyles(int ASlotCount);
  virtual ~TcxCustomStyles();
  TcxCustomStyles(const TcxCustomStyles&) = delete;
  TcxCustomStyles& operator=(const TcxCustomStyles&) = delete;

  int SlotCount() const { return static_cast<int>(FSlots.size()); }
  // The style assigned to slot AIndex; nullptr when none (or out of range).
  TcxStyle* Values(int AIndex) const;
  // Assigns a style to a slot (nullptr clears it); indexes out of range are ignored.
  void SetValues(int AIndex, TcxStyle* AStyle);
  // The style of slot AIndex: the assigned one, else the style sheet's.
  TcxStyle* GetStyle(int AIndex) const;

  TcxCustomStyleSheet* StyleSheet() const { return FStyleSheet; }
  void SetStyleSheet(TcxCustomStyleSheet* AStyleSheet);

  // Copies the slot assignments and the style sheet of ASource (same kind).
  void AssignSlots(const TcxCustomStyles& ASource);

 private:
  friend class TcxStyle;
  friend class TcxCustomStyleSheet;
  void StyleFreed(TcxStyle* AStyle);
  std::vector<TcxStyle*> FSlots;
  TcxCustomStyleSheet* FStyleSheet = nullptr;
};

// A named set of slot assignments that styles objects can take as their
// defaults.  Its slots are a styles object of the kind it serves.
class TcxCustomStyleSheet : public TComponent {
 public:
  ~TcxCustomStyleSheet() override;
  TcxCustomStyles* Styles() const { return FStyles.get(); }
  std::string Caption;

 protected:
  TcxCustomStyleSheet(TComponent* AOwner, std::unique_ptr<TcxCustomStyles> AStyles);

 private:
  friend class TcxCustomStyles;
  std::unique_ptr<TcxCustomStyles> FStyles;
  std::vector<TcxCustomStyles*> FUsers;
};

}  // namespace kv
