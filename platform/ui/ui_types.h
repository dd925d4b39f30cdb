#pragma once
// Plain value types shared by every control: colours, alignment, fonts,
// keys, shift states, modal results and cursors, with the numeric values the
// ported forms expect.

#include <cstdint>
#include <string>

#include "data/field.h"  // TAlignment, shared with the fields

// Colours are 0x00BBGGRR; system colours carry 0xFF in the top byte and the
// system colour index below, to be resolved by the renderer.
using TColor = std::int32_t;

constexpr TColor RGB(int r, int g, int b) { return r | (g << 8) | (b << 16); }
constexpr bool IsSystemColor(TColor c) { return (static_cast<std::uint32_t>(c) >> 24) == 0xFF; }
constexpr int SystemColorIndex(TColor c) { return c & 0xFF; }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;

struct TFont {
  std::string name = "MS Sans Serif";
  int size = 8;
  TColor color = clWindowText;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const TFont&, const TFont&) = default;
};

struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Shift states are a bit set.
using TShiftState = unsigned;
constexpr TShiftState ssNone = 0;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;

// Virtual key codes.
constexpr int VK_BACK = 8;
constexpr int VK_TAB = 9;
constexpr int VK_RETURN = 13;
constexpr int VK_ESCAPE = 27;
constexpr int VK_SPACE = 32;
constexpr int VK_PRIOR = 33;
constexpr int VK_NEXT = 34;
constexpr int VK_END = 35;
constexpr int VK_HOME = 36;
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;
constexpr int VK_INSERT = 45;
constexpr int VK_DELETE = 46;
constexpr int VK_F1 = 112;
constexpr int VK_F2 = 113;

// Button a modal form or message dialog was closed with.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

enum TCursor { crDefault, crHourGlass };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition { poDesigned, poScreenCenter, poOwnerFormCenter, poMainFormCenter };
// Whether the user may resize the window: sizeable, or fixed at its design
// size (single line or dialog frame).
enum TFormBorderStyle { bsSizeable, bsSingle, bsDialog };
