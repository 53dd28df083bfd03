#include "app/renderer.h"
#include "content/config.h"
#include "support.h"

TEST(RendererRule, SoftwareRenderersOpenWithoutMultisamplingUnlessTheKeySaysOtherwise) {
    for (const char* software : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Software Rasterizer (swrast)",
                                 "LLVMPIPE"})
        EXPECT_TRUE(isSoftwareRenderer(software)) << software;
    for (const char* hardware : {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "NVIDIA GeForce GTX 1060/PCIe/SSE2",
                                 "AMD Radeon RX 580 (polaris10, LLVM 15.0.6, DRM 3.49)", ""})
        EXPECT_FALSE(isSoftwareRenderer(hardware)) << hardware;

    const char* const nvidia = "NVIDIA GeForce GTX 1060/PCIe/SSE2";
    for (auto [renderer, setting, level] : {std::tuple("llvmpipe", -1, 0u), {nvidia, -1, 8u}, {"llvmpipe", 4, 4u}, {nvidia, 0, 0u}})
        EXPECT_EQ(chooseAntialiasing(renderer, setting), level) << renderer << " " << setting;
}

// Out of range the key is held within 0..16 or defaulted; of the wrong type it is defaulted with a warning.
TEST(RendererRule, TheAntialiasingKeyIsReadAndDefaulted) {
    for (auto [config, setting, warns] :
         {std::tuple("", -1, false), {R"({"window": {}})", -1, false}, {R"({"window": {"antialiasing": 2}})", 2, false},
          {R"({"window": {"antialiasing": 0}})", 0, false}, {R"({"window": {"antialiasing": -3}})", -1, false},
          {R"({"window": {"antialiasing": 64}})", 16, false}, {R"({"window": {"antialiasing": "high"}})", -1, true}}) {
        TempDir dir;
        if (*config) dir.write("config.json", config);
        testing::internal::CaptureStderr();
        EXPECT_EQ(windowAntialiasingSetting(), setting) << config;
        EXPECT_EQ(testing::internal::GetCapturedStderr().find("/window/antialiasing") != std::string::npos, warns) << config;
    }
}
