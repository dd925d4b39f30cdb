#pragma once
// A small screen for the runner's tests: a code edit that refuses to be left
// empty, a confirmation before saving, a disabled button, radio buttons, a
// menu with a shortcut, a grid over three items and a modal dialog.

#include <memory>
#include <string>

#include "data/client_dataset.h"
#include "data/data_source.h"
#include "data/exceptions.h"
#include "ui/buttons.h"
#include "ui/check_controls.h"
#include "ui/db_grid.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/shortcut.h"
#include "ui/static_controls.h"
#include "ui/ui_service.h"

class ValueDialog : public TForm {
 public:
  ValueDialog() {
    SetCaption("Valor");
    value = &Add<TEdit>("edtValor", this);
    value->SetTabStop(true);
    auto& ok = Add<TButton>("btnOk", this);
    ok.SetModalResult(mrOk);
  }
  TEdit* value;
};

class TestForm : public TForm {
 public:
  TestForm() {
    SetCaption("Teste");
    code = &Add<TEdit>("edtCodigo", this);
    code->SetTabStop(true);
    code->OnExit = [this](TComponent*) {
      if (code->Text().empty()) throw Exception("Código obrigatório.");
    };
    code->OnChange = [this](TComponent*) { ++code_changes; };
    code->OnKeyDown = [this](TComponent*, int& key, TShiftState) {
      if (key == VK_DELETE) {
        deletes++;
        key = 0;
      }
    };
    name = &Add<TEdit>("edtNome", this);
    name->SetTabStop(true);

    auto& save = Add<TButton>("btnGravar", this);
    save.SetCaption("Gravar");
    save.OnClick = [this](TComponent*) { Save(); };
    auto& remove = Add<TButton>("btnExcluir", this);
    remove.SetEnabled(false);
    remove.OnClick = [](TComponent*) { ShowMessage("Excluído."); };

    auto& partial = Add<TRadioButton>("rbtParcial", this);
    partial.SetChecked(true);
    auto& total = Add<TRadioButton>("rbtTotal", this);
    total.OnClick = [](TComponent*) { ShowMessage("Total escolhido."); };

    auto& menu = Add<TMainMenu>("mnuMenu");
    auto& item = Add<TMenuItem>("mnuGravar");
    item.SetCaption("&Gravar");
    item.SetShortCut(TextToShortCut("Ctrl+G"));
    item.OnClick = [this](TComponent*) { Save(); };
    menu.Items().Add(item);
    SetMenu(&menu);

    auto& items = Own<TClientDataSet>("cdsItens", "cdsItens");
    items.AddField("NMITEM", FieldType::String, 20);
    items.CreateDataSet();
    for (const char* n : {"Mesa", "Cadeira", "Toalha"}) {
      items.Append();
      items.FieldByName("NMITEM").SetAsString(n);
      items.Post();
    }
    items.First();
    auto& source = Own<TDataSource>("dtsItens", "dtsItens", &items);
    auto& grid = Add<TDBGrid>("dbgItens", this);
    grid.SetDataSource(&source);
    grid.AddColumn("NMITEM");

    shown_value = &Add<TLabel>("lblValor", this);
    auto& open_dialog = Add<TButton>("btnDialogo", this);
    open_dialog.OnClick = [this](TComponent*) {
      ValueDialog dialog;
      dialog.SetName("frmValor");
      if (dialog.ShowModal() == mrOk) shown_value->SetCaption(dialog.value->Text());
    };
  }

  void Save() {
    if (MessageDlg("Confirma a gravação?", mtConfirmation, mbYesNo) == mrYes) {
      ++saves;
      MessageDlg("Gravado.", mtInformation, mbOK);
    }
  }

  TEdit* code;
  TEdit* name;
  TLabel* shown_value;
  int saves = 0;
  int deletes = 0;
  int code_changes = 0;
};
