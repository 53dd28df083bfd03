#include "app/renderer.h"
#include "content/config.h"
#include "support.h"

#include <gtest/gtest.h>

TEST(RendererRule, SoftwareRenderersOpenWithoutMultisamplingUnlessTheKeySaysOtherwise) {
    for (const char* software : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Software Rasterizer (swrast)",
                                 "LLVMPIPE"})
        EXPECT_TRUE(isSoftwareRenderer(software)) << software;
    for (const char* hardware : {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "NVIDIA GeForce GTX 1060/PCIe/SSE2",
                                 "AMD Radeon RX 580 (polaris10, LLVM 15.0.6, DRM 3.49)", ""})
        EXPECT_FALSE(isSoftwareRenderer(hardware)) << hardware;

    EXPECT_EQ(chooseAntialiasing("llvmpipe (LLVM 15.0.6, 256 bits)", -1), 0u);
    EXPECT_EQ(chooseAntialiasing("NVIDIA GeForce GTX 1060/PCIe/SSE2", -1), 8u);
    EXPECT_EQ(chooseAntialiasing("llvmpipe (LLVM 15.0.6, 256 bits)", 4), 4u);
    EXPECT_EQ(chooseAntialiasing("NVIDIA GeForce GTX 1060/PCIe/SSE2", 0), 0u);
}

TEST(RendererRule, TheAntialiasingKeyIsReadAndDefaulted) {
    for (auto [config, setting] : {std::pair("", -1), {R"({"window": {}})", -1},
                                   {R"({"window": {"antialiasing": 2}})", 2}, {R"({"window": {"antialiasing": 0}})", 0},
                                   {R"({"window": {"antialiasing": -3}})", -1},
                                   {R"({"window": {"antialiasing": 64}})", 16}}) {
        TempDir dir;
        if (*config) dir.write("config.json", config);
        EXPECT_EQ(windowAntialiasingSetting(), setting) << config;
    }
    TempDir dir;
    dir.write("config.json", R"({"window": {"antialiasing": "high"}})");
    testing::internal::CaptureStderr();
    EXPECT_EQ(windowAntialiasingSetting(), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("/window/antialiasing"), std::string::npos);
}

