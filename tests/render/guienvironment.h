#pragma once

// Fonts need a GUI application: a test program that includes this runs its tests with one, on
// the offscreen platform.
#include <memory>

#include <gtest/gtest.h>

#include <QGuiApplication>

#include "render/previewpainter.h"

namespace vesk::test {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_application = MakeOffscreenGuiApplication(); }
    void TearDown() override { m_application.reset(); }

private:
    std::unique_ptr<QGuiApplication> m_application;
};

inline const auto* const kGuiEnvironment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace vesk::test
