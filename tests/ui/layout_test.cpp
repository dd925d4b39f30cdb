#include <gtest/gtest.h>

#include "ui/containers.h"
#include "ui/form.h"
#include "ui/splitter.h"
#include "ui/static_controls.h"

namespace {

// The main screen's shape: filter on top, list, splitter, and the rest
// split into a left grid, a splitter and a right grid.
TEST(Layout, AlignedChildrenShareTheClientRectInOrder) {
  TForm form;
  auto& scb = form.Add<TScrollBox>("scbFolhaDados", &form);
  scb.SetAlign(alClient);
  auto& filtro = form.Add<TPanel>("panFiltro", &scb);
  filtro.SetHeight(61);
  filtro.SetAlign(alTop);
  auto& lista = form.Add<TPanel>("dbgPadrao", &scb);
  lista.SetHeight(148);
  lista.SetAlign(alTop);
  auto& split = form.Add<TSplitter>("Splitter1", &scb);
  split.SetAlign(alTop);
  split.SetHeight(3);
  auto& status = form.Add<TPanel>("panStatus", &scb);
  status.SetHeight(20);
  status.SetAlign(alBottom);
  auto& resto = form.Add<TPanel>("Panel5", &scb);
  resto.SetAlign(alClient);
  auto& receber = form.Add<TPanel>("dbgContasGeradas", &resto);
  receber.SetWidth(472);
  receber.SetAlign(alLeft);
  auto& pagar = form.Add<TPanel>("dbgContaPagar", &resto);
  pagar.SetAlign(alClient);
  form.SetBounds(0, 0, 1068, 634);

  EXPECT_EQ(scb.BoundsRect(), (TRect{0, 0, 1068, 634}));
  EXPECT_EQ(filtro.BoundsRect(), (TRect{0, 0, 1068, 61}));
  EXPECT_EQ(lista.BoundsRect(), (TRect{0, 61, 1068, 209}));
  EXPECT_EQ(split.BoundsRect(), (TRect{0, 209, 1068, 212}));
  EXPECT_EQ(status.BoundsRect(), (TRect{0, 614, 1068, 634}));
  EXPECT_EQ(resto.BoundsRect(), (TRect{0, 212, 1068, 614}));
  EXPECT_EQ(receber.BoundsRect(), (TRect{0, 0, 472, 402}));
  EXPECT_EQ(pagar.BoundsRect(), (TRect{472, 0, 1068, 402}));

  // Dragging the splitter down grows the list; the rest gives way.
  split.UserDrag(40);
  EXPECT_EQ(lista.Height(), 188);
  EXPECT_EQ(resto.BoundsRect(), (TRect{0, 252, 1068, 614}));
  split.UserDrag(-1000);
  EXPECT_EQ(lista.Height(), split.MinSize());

  // A hidden child gives its room back.
  filtro.Hide();
  EXPECT_EQ(lista.Top(), 0);
}

TEST(Layout, GroupBoxAndPageControlPlaceChildrenInsideTheirFrame) {
  TForm form;
  form.Show();
  form.SetBounds(0, 0, 400, 300);
  auto& grb = form.Add<TGroupBox>("grbBaixa", &form);
  grb.SetBounds(0, 0, 200, 100);
  auto& inner = form.Add<TLabel>("lblCCorr", &grb);
  inner.SetAlign(alClient);
  EXPECT_EQ(inner.BoundsRect(), (TRect{2, 15, 198, 98}));

  auto& pgc = form.Add<TPageControl>("pgcPadrao", &form);
  pgc.SetAlign(alClient);
  auto& tsh1 = form.Add<TTabSheet>("tshPadrao", &pgc);
  auto& tsh2 = form.Add<TTabSheet>("tshOutra", &pgc);
  EXPECT_EQ(pgc.ActivePage(), &tsh1);
  EXPECT_TRUE(tsh1.Visible());
  EXPECT_FALSE(tsh2.Visible());
  EXPECT_EQ(tsh1.BoundsRect(), tsh2.BoundsRect());
  bool allow = false;
  pgc.OnChanging = [&](TComponent*, bool& ok) { ok = allow; };
  pgc.UserSelectPage(1);
  EXPECT_EQ(pgc.ActivePageIndex(), 0);
  allow = true;
  pgc.UserSelectPage(1);
  EXPECT_EQ(pgc.ActivePage(), &tsh2);
  EXPECT_FALSE(tsh1.Visible());
}

}  // namespace
