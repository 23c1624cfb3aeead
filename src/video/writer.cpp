// The WebM file and its picture track: the back surface (RGB 5-6-5) is
// widened and converted to YUV 4:2:0 (video_picture) and encoded as VP9 (or
// VP8) tuned for speed, one picture per 16 ms tick; the time base is 2/125 s
// so every tick has its own exact timestamp. The sound track is beside it.
#include "video/writer.h"

#include "media/surface.h"
#include "media/whole_file.h"
#include "video/picture.h"
#include "video/tracks.h"

using video::Fail;
using video::FFmpeg;

namespace {

constexpr AVRational kTick = {2, 125};    // 16 ms: 62.5 pictures a second
constexpr int kKeyPictureInterval = 250;  // a key picture every 4 s, for seeking
// Constant-quality level (0 best .. 63): sprites and text stay clean; the
// faintest one-pixel stars lose a little of their light.
constexpr int kQuality = 20;

// The encoders' fastest fixed setting, no look-ahead, one thread: the
// encoders' own threads wait by spinning, which on a busy machine costs more
// than it brings (VP8 ten times over). VP8's speed is negative to keep it
// fixed: a positive one adapts to the clock, and the file with it. (VP9's
// screen-content tuning makes smaller files of the same quality but costs a
// fifth more time.)
void TuneEncoder(AVCodecContext* codec, bool vp9) {
    codec->thread_count = 1;
    FFmpeg().av_opt_set(codec->priv_data, "deadline", "realtime", 0);
    FFmpeg().av_opt_set_int(codec->priv_data, "cpu-used", vp9 ? 8 : -12, 0);
    FFmpeg().av_opt_set_int(codec->priv_data, "lag-in-frames", 0, 0);
    FFmpeg().av_opt_set_int(codec->priv_data, "crf", kQuality, 0);
}

}  // namespace

struct VideoWriter::Streams {
    std::string path;
    // The file is written beside its name and put in place only when done.
    std::unique_ptr<ReplacementFile> output;
    int scale = 1;
    AVFormatContext* file = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    std::unique_ptr<PictureConverter> converter;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    std::unique_ptr<video::SoundTrack> sound;
    std::string codecName;
    int64_t pictures = 0;
    bool done = false;  // finished or abandoned

    ~Streams() {
        sound.reset();
        FFmpeg().av_packet_free(&packet);
        FFmpeg().av_frame_free(&frame);
        FFmpeg().avcodec_free_context(&codec);
        if (file) {
            if (file->pb) FFmpeg().avio_closep(&file->pb);
            FFmpeg().avformat_free_context(file);
        }
    }

    void OpenPictureTrack() {
        const AVCodec* encoder = FFmpeg().avcodec_find_encoder(AV_CODEC_ID_VP9);
        if (!encoder) encoder = FFmpeg().avcodec_find_encoder(AV_CODEC_ID_VP8);
        if (!encoder) video::MissingEncoder(path, "VP9 or VP8 (libvpx)");
        const bool vp9 = encoder->id == AV_CODEC_ID_VP9;
        codecName = vp9 ? "vp9" : "vp8";
        codec = FFmpeg().avcodec_alloc_context3(encoder);
        if (!codec) Fail(path, "cannot set up the picture encoder", AVERROR(ENOMEM));
        codec->width = kSurfaceWidth * scale;
        codec->height = kSurfaceHeight * scale;
        codec->pix_fmt = AV_PIX_FMT_YUV420P;
        codec->time_base = kTick;
        codec->framerate = av_inv_q(kTick);
        codec->gop_size = kKeyPictureInterval;
        // VP9 codes at constant quality; VP8's constrained quality needs a ceiling.
        codec->bit_rate = vp9 ? 0 : int64_t(4'000'000) * scale * scale;
        // The converter's BT.601 studio range, so players show the game's colours.
        codec->colorspace = AVCOL_SPC_SMPTE170M;
        codec->color_range = AVCOL_RANGE_MPEG;
        if (file->oformat->flags & AVFMT_GLOBALHEADER) codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        TuneEncoder(codec, vp9);
        int error = FFmpeg().avcodec_open2(codec, encoder, nullptr);
        if (error < 0) Fail(path, std::string("cannot open the picture encoder ") + encoder->name, error);

        stream = FFmpeg().avformat_new_stream(file, nullptr);
        if (!stream) Fail(path, "cannot add the picture track", AVERROR(ENOMEM));
        stream->time_base = kTick;
        stream->avg_frame_rate = codec->framerate;
        error = FFmpeg().avcodec_parameters_from_context(stream->codecpar, codec);
        if (error < 0) Fail(path, "cannot describe the picture track", error);

        converter = std::make_unique<PictureConverter>(scale);
        frame = FFmpeg().av_frame_alloc();
        packet = FFmpeg().av_packet_alloc();
        if (!frame || !packet) Fail(path, "cannot set up the picture track", AVERROR(ENOMEM));
        frame->format = codec->pix_fmt;
        frame->width = codec->width;
        frame->height = codec->height;
        frame->color_range = codec->color_range;
        frame->colorspace = codec->colorspace;
        error = FFmpeg().av_frame_get_buffer(frame, 0);
        if (error < 0) Fail(path, "cannot set up the picture track", error);
    }
};

VideoWriter::VideoWriter(const std::string& path, int scale) {
    // FFmpeg is loaded first: the streams free what they hold through it.
    FFmpeg();
    streams = std::make_unique<Streams>();
    Streams& s = *streams;
    s.path = path;
    s.scale = scale;
    if (scale < 1) Fail(path, "the scale must be 1 or more");
    // The encoders' greetings and notes stay off the terminal: what goes
    // wrong is reported here, naming the file.
    FFmpeg().av_log_set_level(AV_LOG_ERROR);
    int error = FFmpeg().avformat_alloc_output_context2(&s.file, nullptr, "webm", path.c_str());
    if (error < 0 || !s.file) Fail(path, "cannot set up a WebM file", error);
    // No random identifiers or writing-application tags: the same run gives the same file.
    s.file->flags |= AVFMT_FLAG_BITEXACT;
    s.OpenPictureTrack();
    s.sound = std::make_unique<video::SoundTrack>(s.file, path);
    // An interrupt or a terminate signal removes the half-written file.
    s.output = std::make_unique<ReplacementFile>(path, true, "video ");
    error = FFmpeg().avio_open(&s.file->pb, s.output->TemporaryPath().c_str(), AVIO_FLAG_WRITE);
    if (error < 0) Fail(path, "cannot create the file", error);
    error = FFmpeg().avformat_write_header(s.file, nullptr);
    if (error < 0) {
        Abandon();
        Fail(path, "cannot write the file's header", error);
    }
}

VideoWriter::~VideoWriter() {
    try {
        Abandon();
    } catch (...) {
    }
}

void VideoWriter::AddPicture(const Surface& picture) {
    Streams& s = *streams;
    int error = FFmpeg().av_frame_make_writable(s.frame);
    if (error < 0) Fail(s.path, "cannot encode a picture", error);
    s.converter->Convert(picture, s.frame->data[0], s.frame->linesize[0], s.frame->data[1], s.frame->linesize[1],
                         s.frame->data[2], s.frame->linesize[2]);
    s.frame->pts = s.pictures++;
    video::Encode(s.file, s.codec, s.stream, s.frame, s.packet, s.path);
}

void VideoWriter::AddSound(const int16_t* samples, int count) { streams->sound->Add(samples, count); }

void VideoWriter::Finish() {
    Streams& s = *streams;
    if (s.done) return;
    video::Encode(s.file, s.codec, s.stream, nullptr, s.packet, s.path);
    s.sound->Finish();
    int error = FFmpeg().av_write_trailer(s.file);
    if (error < 0) Fail(s.path, "cannot finish the file", error);
    error = FFmpeg().avio_closep(&s.file->pb);
    if (error < 0) Fail(s.path, "cannot close the file", error);
    s.output->Commit();
    s.done = true;
}

void VideoWriter::Abandon() {
    Streams& s = *streams;
    if (s.done) return;
    s.done = true;
    if (s.file && s.file->pb) FFmpeg().avio_closep(&s.file->pb);
    if (s.output) s.output->Discard();
}

const std::string& VideoWriter::VideoCodecName() const { return streams->codecName; }

int64_t VideoWriter::PicturesWritten() const { return streams->pictures; }
