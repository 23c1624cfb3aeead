// The video reader of the tests and of the frame extractor: libavformat
// opens the file, libavcodec decodes both tracks, libswscale and
// libswresample turn them into RGB pictures and mono samples.
#include "video_probe.h"

#include <png.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <stdexcept>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& what, int code = 0) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    if (code < 0) av_strerror(code, text, sizeof text);
    throw std::runtime_error("'" + path + "': " + what + (code < 0 ? std::string(" (") + text + ")" : ""));
}

struct Decoder {
    AVCodecContext* codec = nullptr;
    int stream = -1;
    ~Decoder() { avcodec_free_context(&codec); }
    void Open(AVFormatContext* file, AVMediaType kind, const std::string& path) {
        stream = av_find_best_stream(file, kind, -1, -1, nullptr, 0);
        if (stream < 0) return;
        const AVCodecParameters* parameters = file->streams[stream]->codecpar;
        const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
        if (!decoder) Fail(path, "no decoder for " + std::string(avcodec_get_name(parameters->codec_id)));
        codec = avcodec_alloc_context3(decoder);
        avcodec_parameters_to_context(codec, parameters);
        codec->pkt_timebase = file->streams[stream]->time_base;
        const int error = avcodec_open2(codec, decoder, nullptr);
        if (error < 0) Fail(path, "cannot open the decoder", error);
    }
};

}  // namespace

VideoProbe ProbeVideo(const std::string& path, const std::function<void(int64_t, const RgbPicture&)>& onPicture) {
    AVFormatContext* file = nullptr;
    int error = avformat_open_input(&file, path.c_str(), nullptr, nullptr);
    if (error < 0) Fail(path, "cannot open", error);
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> closer(
        file, [](AVFormatContext* f) { avformat_close_input(&f); });
    error = avformat_find_stream_info(file, nullptr);
    if (error < 0) Fail(path, "cannot read the streams", error);

    VideoProbe probe;
    probe.fileSeconds = file->duration > 0 ? double(file->duration) / AV_TIME_BASE : 0.0;
    Decoder pictures, sound;
    pictures.Open(file, AVMEDIA_TYPE_VIDEO, path);
    sound.Open(file, AVMEDIA_TYPE_AUDIO, path);
    if (pictures.stream >= 0) {
        const AVStream* s = file->streams[pictures.stream];
        probe.videoCodec = avcodec_get_name(s->codecpar->codec_id);
        probe.width = s->codecpar->width;
        probe.height = s->codecpar->height;
        probe.frameRateNum = s->avg_frame_rate.num;
        probe.frameRateDen = s->avg_frame_rate.den;
    }
    SwrContext* mixdown = nullptr;
    if (sound.stream >= 0) {
        probe.audioCodec = avcodec_get_name(file->streams[sound.stream]->codecpar->codec_id);
        probe.sampleRate = sound.codec->sample_rate;
        AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
        error = swr_alloc_set_opts2(&mixdown, &mono, AV_SAMPLE_FMT_FLT, probe.sampleRate, &sound.codec->ch_layout,
                                    sound.codec->sample_fmt, probe.sampleRate, 0, nullptr);
        if (error < 0 || swr_init(mixdown) < 0) Fail(path, "cannot set up the sound's conversion", error);
    }

    SwsContext* toRgb = nullptr;
    RgbPicture rgb;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto take = [&](Decoder& d, const AVPacket* p) {
        if (avcodec_send_packet(d.codec, p) < 0) Fail(path, "cannot decode");
        while (avcodec_receive_frame(d.codec, frame) == 0) {
            if (&d == &pictures) {
                const AVRational tb = file->streams[pictures.stream]->time_base;
                if (probe.pictures == 0) probe.picturesStart = double(frame->best_effort_timestamp) * av_q2d(tb);
                probe.picturesEnd = double(frame->best_effort_timestamp + frame->pkt_duration) * av_q2d(tb);
                if (onPicture) {
                    toRgb = sws_getCachedContext(toRgb, frame->width, frame->height, AVPixelFormat(frame->format),
                                                 frame->width, frame->height, AV_PIX_FMT_RGB24, SWS_POINT, nullptr,
                                                 nullptr, nullptr);
                    rgb.width = frame->width;
                    rgb.height = frame->height;
                    rgb.rgb.resize(size_t(3) * size_t(frame->width) * size_t(frame->height));
                    uint8_t* planes[1] = {rgb.rgb.data()};
                    const int strides[1] = {3 * frame->width};
                    sws_scale(toRgb, frame->data, frame->linesize, 0, frame->height, planes, strides);
                    onPicture(probe.pictures, rgb);
                }
                ++probe.pictures;
            } else {
                const size_t at = probe.sound.size();
                if (at == 0)
                    probe.soundStart =
                        double(frame->best_effort_timestamp) * av_q2d(file->streams[sound.stream]->time_base);
                probe.sound.resize(at + size_t(frame->nb_samples));
                uint8_t* out[1] = {reinterpret_cast<uint8_t*>(probe.sound.data() + at)};
                const int got = swr_convert(mixdown, out, frame->nb_samples,
                                            const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
                probe.sound.resize(at + size_t(std::max(got, 0)));
            }
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(file, packet) >= 0) {
        if (packet->stream_index == pictures.stream) take(pictures, packet);
        else if (packet->stream_index == sound.stream) take(sound, packet);
        av_packet_unref(packet);
    }
    if (pictures.codec) take(pictures, nullptr);
    if (sound.codec) take(sound, nullptr);
    av_frame_free(&frame);
    av_packet_free(&packet);
    sws_freeContext(toRgb);
    swr_free(&mixdown);
    return probe;
}

RgbPicture ReadPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) throw std::runtime_error("cannot read '" + path + "'");
    image.format = PNG_FORMAT_RGB;
    RgbPicture picture;
    picture.width = int(image.width);
    picture.height = int(image.height);
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr))
        throw std::runtime_error("cannot read '" + path + "'");
    return picture;
}

void WritePng(const RgbPicture& picture, const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(picture.width);
    image.height = png_uint_32(picture.height);
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path.c_str(), 0, picture.rgb.data(), 0, nullptr))
        throw std::runtime_error("cannot write '" + path + "'");
}

double MeanAbsoluteDifference(const RgbPicture& a, const RgbPicture& b) {
    if (a.width != b.width || a.height != b.height) return 255.0;
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) sum += std::abs(int(a.rgb[i]) - int(b.rgb[i]));
    return a.rgb.empty() ? 0.0 : sum / double(a.rgb.size());
}

double Rms(const std::vector<float>& sound, size_t from, size_t to) {
    to = std::min(to, sound.size());
    if (from >= to) return 0.0;
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += double(sound[i]) * sound[i];
    return std::sqrt(sum / double(to - from));
}
