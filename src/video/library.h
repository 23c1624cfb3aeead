// FFmpeg as the video writer calls it: loaded with dlopen the first time a
// video is made, so the game itself starts without FFmpeg's hundred
// libraries (about 28 ms of loading and 20 MB resident on every start).
// Included only by the video writer's own files.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/opt.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

namespace video {

// Every FFmpeg function the video writer uses.
#define KAVRIX_FFMPEG_FUNCTIONS(F)                                                                                     \
    F(av_audio_fifo_alloc)                                                                                             \
    F(av_audio_fifo_free) F(av_audio_fifo_read) F(av_audio_fifo_size) F(av_audio_fifo_write) F(av_channel_layout_copy) \
        F(av_frame_alloc) F(av_frame_free) F(av_frame_get_buffer) F(av_frame_make_writable) F(av_freep)                \
            F(av_interleaved_write_frame) F(av_log_set_level) F(av_opt_set) F(av_opt_set_int) F(av_packet_alloc)       \
                F(av_packet_free) F(av_packet_rescale_ts) F(av_samples_alloc_array_and_samples)                        \
                    F(av_samples_set_silence) F(av_strerror) F(av_write_trailer) F(avcodec_alloc_context3)             \
                        F(avcodec_find_encoder) F(avcodec_find_encoder_by_name) F(avcodec_free_context)                \
                            F(avcodec_open2) F(avcodec_parameters_from_context) F(avcodec_receive_packet)              \
                                F(avcodec_send_frame) F(avformat_alloc_output_context2) F(avformat_free_context)       \
                                    F(avformat_new_stream) F(avformat_write_header) F(avio_closep) F(avio_open)        \
                                        F(swr_alloc_set_opts2) F(swr_convert) F(swr_free) F(swr_get_out_samples)       \
                                            F(swr_init)

struct FFmpegLibrary {
#define KAVRIX_FFMPEG_POINTER(name) decltype(&::name) name = nullptr;
    KAVRIX_FFMPEG_FUNCTIONS(KAVRIX_FFMPEG_POINTER)
#undef KAVRIX_FFMPEG_POINTER
};

// Loads the libraries on the first call; throws std::runtime_error naming
// the library or function that is missing.
const FFmpegLibrary& FFmpeg();

}  // namespace video
