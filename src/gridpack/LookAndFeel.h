// The look and feel of a grid: which painter draws it, and the colours the
// painter gives for its frames.
#pragma once

#include "platform/Graphics.h"

namespace kv {

enum TcxLookAndFeelKind { lfFlat, lfStandard, lfUltraFlat, lfOffice11 };

// The Office 11 painter's footer frame colour (a blue grey).
constexpr TColor cxOffice11FooterBorderColor = 0x00B99D7F;

class TcxLookAndFeel {
 public:
  TcxLookAndFeelKind Kind = lfStandard;
  // Painting with the system's theme (the painter colours do not change here).
  bool NativeStyle = false;
  // The colour of the frame of footer cells: the system button-shadow colour
  // for every look but Office 11, whose painter has its own.
  TColor FooterBorderColor() const { return Kind == lfOffice11 ? cxOffice11FooterBorderColor : clBtnShadow; }
};

}  // namespace kv
