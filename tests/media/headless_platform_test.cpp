// The headless platform as the runner and the tests drive it: presented
// frames are counted and hashed, queued events are delivered once, the
// clock moves 16 ms per tick and audio goes to a null sink, or for a video
// to a sink that keeps the picture and renders 705.6 samples a tick.
#include <gtest/gtest.h>

#include <memory>

#include "media/headless_platform.h"
#include "media/mixer.h"

namespace {

TEST(HeadlessPlatform, PresentCountsAndHashesFrames) {
    auto platform = CreateHeadlessPlatform();
    auto surface = std::make_unique<Surface>();
    platform->Present(*surface);
    const uint64_t black = platform->lastPresentedHash;
    surface->pixels[300][400] = 0xFFFF;
    platform->Present(*surface);
    EXPECT_EQ(platform->presentedFrames, 2u);
    EXPECT_NE(platform->lastPresentedHash, black);
    EXPECT_EQ(platform->lastPresentedHash, SurfaceHash(*surface));
}

TEST(HeadlessPlatform, QueuedEventsArriveOnceInOrder) {
    auto platform = CreateHeadlessPlatform();
    PlatformEvent move{EventKind::MouseMove};
    move.x = 70;
    move.y = 300;
    PlatformEvent key{EventKind::KeyPress};
    key.key = 13;
    platform->pending = {move, key, PlatformEvent{EventKind::Click}};
    std::vector<PlatformEvent> events;
    platform->PollEvents(events);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, EventKind::MouseMove);
    EXPECT_EQ(events[0].x, 70);
    EXPECT_EQ(events[1].key, 13);
    EXPECT_EQ(events[2].kind, EventKind::Click);
    events.clear();
    platform->PollEvents(events);
    EXPECT_TRUE(events.empty());
}

TEST(HeadlessPlatform, TicksAdvanceTheClockAndAudioIsANullSink) {
    auto platform = CreateHeadlessPlatform();
    const uint32_t start = platform->Milliseconds();
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(platform->WaitForTick());
    EXPECT_EQ(platform->Milliseconds() - start, 160u);
    auto mixer = std::make_unique<Mixer>();
    EXPECT_FALSE(mixer->available);
    EXPECT_TRUE(platform->OpenAudio(*mixer));
    EXPECT_TRUE(mixer->available);
    EXPECT_TRUE(platform->IsHeadless());
}

TEST(HeadlessPlatform, CapturingSinkKeepsThePictureAndRendersEachTicksSoundWithoutDrift) {
    auto platform = CreateHeadlessPlatform();
    platform->StartCapture();
    auto mixer = std::make_unique<Mixer>();
    ASSERT_TRUE(platform->OpenAudio(*mixer));
    auto surface = std::make_unique<Surface>();
    surface->pixels[10][20] = 0xF800;
    platform->Present(*surface);
    EXPECT_EQ(platform->PresentedPicture().pixels[10][20], 0xF800);

    // A looped constant sound started before the tick sounds from its first sample.
    auto wave = std::make_shared<std::vector<float>>(2 * 1000, 0.5f);
    Voice& voice = mixer->voices[0];
    voice.samples = wave;
    voice.inUse = voice.playing = voice.looped = true;
    int16_t out[2 * kMaxTickSamples];
    int64_t total = 0;
    for (int tick = 0; tick < 625; ++tick) {  // ten seconds
        const int n = platform->RenderTickAudio(out);
        ASSERT_TRUE(n == 705 || n == 706) << n;
        EXPECT_EQ(out[0], 16384);
        total += n;
        if (tick == 4) {
            EXPECT_EQ(total, 3528);  // 5 x 705.6
        }
    }
    EXPECT_EQ(total, 441000);
}

}  // namespace
