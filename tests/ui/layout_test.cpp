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

// A window made larger or smaller: the filling children follow, the edges
// keep their sizes, and so does what a splitter was dragged to.
TEST(Layout, ResizingTheFormLaysItsAlignmentsOutAgain) {
  TForm form;
  form.SetBounds(0, 0, 1068, 634);
  auto& lista = form.Add<TPanel>("dbgPadrao", &form);
  lista.SetHeight(148);
  lista.SetAlign(alTop);
  auto& split = form.Add<TSplitter>("Splitter1", &form);
  split.SetAlign(alTop);
  split.SetHeight(3);
  auto& resto = form.Add<TPanel>("Panel5", &form);
  resto.SetAlign(alClient);
  auto& receber = form.Add<TPanel>("dbgContasGeradas", &resto);
  receber.SetWidth(472);
  receber.SetAlign(alLeft);
  auto& split2 = form.Add<TSplitter>("Splitter2", &resto);
  split2.SetAlign(alLeft);
  split2.SetWidth(3);
  auto& pagar = form.Add<TPanel>("dbgContaPagar", &resto);
  pagar.SetAlign(alClient);

  form.SetBounds(0, 0, 1600, 1000);
  EXPECT_EQ(lista.BoundsRect(), (TRect{0, 0, 1600, 148}));
  EXPECT_EQ(resto.BoundsRect(), (TRect{0, 151, 1600, 1000}));
  EXPECT_EQ(receber.BoundsRect(), (TRect{0, 0, 472, 849}));
  EXPECT_EQ(split2.BoundsRect(), (TRect{472, 0, 475, 849}));
  EXPECT_EQ(pagar.BoundsRect(), (TRect{475, 0, 1600, 849}));

  EXPECT_EQ(split2.UserDrag(100), 100);
  form.SetBounds(0, 0, 800, 600);
  EXPECT_EQ(receber.Width(), 572);
  EXPECT_EQ(pagar.BoundsRect(), (TRect{575, 0, 800, 449}));
}

// A splitter stops where either side would go below its minimum, and says
// how far it really moved, so a mouse dragged past the stop does not count.
TEST(Layout, ASplitterKeepsBothSidesAtTheirMinimum) {
  TForm form;
  form.SetBounds(0, 0, 600, 400);
  auto& lista = form.Add<TPanel>("dbgPadrao", &form);
  lista.SetHeight(100);
  lista.SetAlign(alTop);
  auto& split = form.Add<TSplitter>("Splitter1", &form);
  split.SetAlign(alTop);
  split.SetHeight(3);
  split.SetMinSize(40);
  auto& rodape = form.Add<TPanel>("panRodape", &form);
  rodape.SetHeight(50);
  rodape.SetAlign(alBottom);
  auto& resto = form.Add<TPanel>("Panel5", &form);
  resto.SetAlign(alClient);
  int moved = 0;
  split.OnMoved = [&](TComponent*) { ++moved; };

  // Room for the rest: 400 - 100 - 3 - 50 = 247; it keeps 40 of it.
  EXPECT_EQ(split.UserDrag(1000), 207);
  EXPECT_EQ(lista.Height(), 307);
  EXPECT_EQ(resto.Height(), 40);
  EXPECT_EQ(split.UserDrag(10), 0);
  EXPECT_EQ(moved, 1);
  EXPECT_EQ(split.UserDrag(-1000), -267);
  EXPECT_EQ(lista.Height(), 40);
  EXPECT_EQ(split.UserDrag(-1), 0);
  EXPECT_EQ(moved, 2);

  // A disabled splitter does not move.
  split.SetEnabled(false);
  EXPECT_EQ(split.UserDrag(20), 0);
  EXPECT_EQ(lista.Height(), 40);
}

// A layout pass that raised (an observer of a child's bounds failing) leaves
// the container able to lay out again.
TEST(Layout, ALayoutPassThatRaisesDoesNotFreezeTheContainer) {
  TForm form;
  form.SetBounds(0, 0, 400, 300);
  auto& resto = form.Add<TPanel>("Panel5", &form);
  resto.SetAlign(alClient);
  const int id = resto.Observe([](TComponent&, TProperty p) {
    if (p == TProperty::Bounds) throw Exception("falhou");
  });
  EXPECT_THROW(form.SetBounds(0, 0, 500, 300), Exception);
  resto.Unobserve(id);
  form.SetBounds(0, 0, 640, 480);
  EXPECT_EQ(resto.BoundsRect(), (TRect{0, 0, 640, 480}));
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
