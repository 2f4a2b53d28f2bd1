#pragma once

// A preview with its device on a host form that lives for the whole suite, and a fresh
// folder for the files a test writes.

#include "toolkit/form.h"
#include "viewport/d3d_panel.h"

#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>
#include <memory>

namespace KelTest {

class PanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host = new KelUtility::Form(GetModuleHandleW(nullptr));
        host->SetSize(500, 400);
        host->Create();
    }
    static void TearDownTestSuite() { delete host; }

    void SetUp() override {
        panel = std::make_unique<KelUtility::D3DPanel>(host);
        panel->SetPosition(0, 0);
        panel->SetSize(320, 240);
        panel->UseCamera = false;
        panel->Create();
        ASSERT_TRUE(panel->device);
    }

    static inline KelUtility::Form* host = nullptr;
    std::unique_ptr<KelUtility::D3DPanel> panel;
    TemporaryFolder folder;
};

} // namespace KelTest
