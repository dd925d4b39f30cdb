#pragma once
// The properties whose changes a component reports to its observers. An
// enumeration rather than names, so a renderer that waits for a property the
// toolkit never sends (a misspelt one) does not compile.

#include <string_view>

enum class TProperty {
  // Every control
  Name, Parent, Bounds, Align, Caption, Hint, ShowHint, Enabled, Visible, Color, Font,
  // Windowed controls and containers
  Controls, TabOrder, TabStop, BevelOuter, BevelInner, Alignment, TabVisible, ActivePage,
  // Forms and the application
  FormStyle, Position, BorderStyle, WindowState, ModalResult, Menu, ActiveControl, Forms, ActiveForm,
  Terminated,
  // Edits, buttons, check boxes, images
  Text, ReadOnly, MaxLength, CharCase, PasswordChar, EditMask, MinValue, MaxValue, Checked, Default,
  Cancel, Flat, Glyph, NumGlyphs, Picture, Stretch, Center, Transparent, WordWrap, Selection,
  // Menu items
  Items, ShortCut,
  // Data grids
  Columns, Options, TitleFont, Row, Data, State, SelectedIndex, Editor,
  // The component is about to be destroyed.
  Destroying,
};

// The property's name as the toolkit's classes spell it ("Caption"), for
// messages and logs.
constexpr std::string_view PropertyName(TProperty p) {
  switch (p) {
#define DX_PROPERTY_NAME(n) \
  case TProperty::n: return #n;
    DX_PROPERTY_NAME(Name) DX_PROPERTY_NAME(Parent) DX_PROPERTY_NAME(Bounds) DX_PROPERTY_NAME(Align)
    DX_PROPERTY_NAME(Caption) DX_PROPERTY_NAME(Hint) DX_PROPERTY_NAME(ShowHint) DX_PROPERTY_NAME(Enabled)
    DX_PROPERTY_NAME(Visible) DX_PROPERTY_NAME(Color) DX_PROPERTY_NAME(Font) DX_PROPERTY_NAME(Controls)
    DX_PROPERTY_NAME(TabOrder) DX_PROPERTY_NAME(TabStop) DX_PROPERTY_NAME(BevelOuter)
    DX_PROPERTY_NAME(BevelInner) DX_PROPERTY_NAME(Alignment) DX_PROPERTY_NAME(TabVisible)
    DX_PROPERTY_NAME(ActivePage) DX_PROPERTY_NAME(FormStyle) DX_PROPERTY_NAME(Position)
    DX_PROPERTY_NAME(BorderStyle) DX_PROPERTY_NAME(WindowState) DX_PROPERTY_NAME(ModalResult)
    DX_PROPERTY_NAME(Menu) DX_PROPERTY_NAME(ActiveControl) DX_PROPERTY_NAME(Forms)
    DX_PROPERTY_NAME(ActiveForm) DX_PROPERTY_NAME(Terminated) DX_PROPERTY_NAME(Text)
    DX_PROPERTY_NAME(ReadOnly) DX_PROPERTY_NAME(MaxLength) DX_PROPERTY_NAME(CharCase)
    DX_PROPERTY_NAME(PasswordChar) DX_PROPERTY_NAME(EditMask) DX_PROPERTY_NAME(MinValue)
    DX_PROPERTY_NAME(MaxValue) DX_PROPERTY_NAME(Checked) DX_PROPERTY_NAME(Default) DX_PROPERTY_NAME(Cancel)
    DX_PROPERTY_NAME(Flat) DX_PROPERTY_NAME(Glyph) DX_PROPERTY_NAME(NumGlyphs) DX_PROPERTY_NAME(Picture)
    DX_PROPERTY_NAME(Stretch) DX_PROPERTY_NAME(Center) DX_PROPERTY_NAME(Transparent)
    DX_PROPERTY_NAME(WordWrap) DX_PROPERTY_NAME(Selection) DX_PROPERTY_NAME(Items) DX_PROPERTY_NAME(ShortCut) DX_PROPERTY_NAME(Columns)
    DX_PROPERTY_NAME(Options) DX_PROPERTY_NAME(TitleFont) DX_PROPERTY_NAME(Row) DX_PROPERTY_NAME(Data)
    DX_PROPERTY_NAME(State) DX_PROPERTY_NAME(SelectedIndex) DX_PROPERTY_NAME(Editor)
    DX_PROPERTY_NAME(Destroying)
#undef DX_PROPERTY_NAME
  }
  return {};
}
