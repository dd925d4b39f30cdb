#pragma once
// TBtnPesquisa: the search button beside a code field. A click
//   1. runs OnBeforePesq with a proceed flag that starts true; false stops;
//   2. opens the dataset of DataSource when it is closed;
//   3. offers that dataset's rows in the pick list titled Title, or shows
//      EmptyError as an error when there are none;
//   4. when the user picks a row, that row is current and OnAfterPesq runs.
// The edit named by Associate is the field the search serves; OnAfterPesq
// writes the picked values into it. OnClick, when set, runs after all this.

#include <functional>
#include <string>

#include "ui/buttons.h"

class TCustomEdit;
class TDataSource;

class TBtnPesquisa : public TSpeedButton {
 public:
  using BeforePesqEvent = std::function<void(TComponent* sender, bool& proceed)>;

  TBtnPesquisa();

  TCustomEdit* Associate() const { return associate_; }
  void SetAssociate(TCustomEdit* edit) { associate_ = edit; }
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  TDataSource* DataSource() const { return data_source_; }
  void SetDataSource(TDataSource* source) { data_source_ = source; }
  const std::string& EmptyError() const { return empty_error_; }
  void SetEmptyError(std::string text) { empty_error_ = std::move(text); }

  BeforePesqEvent OnBeforePesq;
  TNotifyEvent OnAfterPesq;

  void Click() override;
  // Runs the search; true when a row was picked.
  bool Pesquisa();

  void Removing(TComponent& doomed) override;

 private:
  TCustomEdit* associate_ = nullptr;
  std::string title_;
  TDataSource* data_source_ = nullptr;
  std::string empty_error_;
};
