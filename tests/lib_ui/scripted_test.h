#pragma once
// A test whose dialogs go to a ScriptedUi that answers and records them.

#include <gtest/gtest.h>

#include "ui/scripted_ui.h"

class ScriptedTest : public ::testing::Test {
 protected:
  void SetUp() override { SetUi(&ui); }
  void TearDown() override { SetUi(nullptr); }

  ScriptedUi ui;
};
