#include "audio/TruePeakLimiter.h"

// FFmpeg's headers are C, and use the C99 constant macros in C++ only when asked to.
#define __STDC_CONSTANT_MACROS
extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
}
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

#include "common/EditorError.h"

namespace pwx {

namespace {

// Four times the rate: the oversampling of a true-peak meter. The look-ahead is long enough
// for the gain to come down smoothly before a plosive's peak, and the release short enough
// that the words after it keep their loudness.
constexpr int kOversampling = 4;
constexpr double kAttackMs = 5;
constexpr double kReleaseMs = 60;

// libavfilter is loaded when a limiter is first needed, not when the program starts: the
// library and the codecs it links take a good part of a second to load, which every start of
// the editor (and every import that only copies) would otherwise pay.
#define PWX_AV_NAME(library, major) "lib" #library ".so." AV_STRINGIFY(major)

struct AvFunctions {
#define PWX_AV_FUNCTION(name) decltype(&::name) name = nullptr;
  PWX_AV_FUNCTION(avfilter_graph_alloc)
  PWX_AV_FUNCTION(avfilter_graph_free)
  PWX_AV_FUNCTION(avfilter_graph_create_filter)
  PWX_AV_FUNCTION(avfilter_graph_parse_ptr)
  PWX_AV_FUNCTION(avfilter_graph_config)
  PWX_AV_FUNCTION(avfilter_get_by_name)
  PWX_AV_FUNCTION(avfilter_inout_alloc)
  PWX_AV_FUNCTION(avfilter_inout_free)
  PWX_AV_FUNCTION(av_buffersrc_add_frame_flags)
  PWX_AV_FUNCTION(av_buffersink_get_frame)
  PWX_AV_FUNCTION(av_frame_alloc)
  PWX_AV_FUNCTION(av_frame_free)
  PWX_AV_FUNCTION(av_frame_unref)
  PWX_AV_FUNCTION(av_frame_get_buffer)
  PWX_AV_FUNCTION(av_channel_layout_default)
  PWX_AV_FUNCTION(av_strdup)
  PWX_AV_FUNCTION(av_strerror)
  PWX_AV_FUNCTION(av_log_set_level)
#undef PWX_AV_FUNCTION
  std::string failure;  // why the library could not be loaded
};

const AvFunctions& Av() {
  static const AvFunctions functions = [] {
    AvFunctions av;
    const char* library = PWX_AV_NAME(avfilter, LIBAVFILTER_VERSION_MAJOR);
    void* handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      av.failure = std::string("The peak limiter cannot start: ") + library +
                   " is missing (Debian package libavfilter" +
                   AV_STRINGIFY(LIBAVFILTER_VERSION_MAJOR) + ").";
      return av;
    }
    // The library's own dependencies (libavutil) are searched too.
    bool complete = true;
    const auto find = [&](auto& function, const char* name) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, name));
      complete = complete && function;
    };
#define PWX_AV_FIND(name) find(av.name, #name);
    PWX_AV_FIND(avfilter_graph_alloc)
    PWX_AV_FIND(avfilter_graph_free)
    PWX_AV_FIND(avfilter_graph_create_filter)
    PWX_AV_FIND(avfilter_graph_parse_ptr)
    PWX_AV_FIND(avfilter_graph_config)
    PWX_AV_FIND(avfilter_get_by_name)
    PWX_AV_FIND(avfilter_inout_alloc)
    PWX_AV_FIND(avfilter_inout_free)
    PWX_AV_FIND(av_buffersrc_add_frame_flags)
    PWX_AV_FIND(av_buffersink_get_frame)
    PWX_AV_FIND(av_frame_alloc)
    PWX_AV_FIND(av_frame_free)
    PWX_AV_FIND(av_frame_unref)
    PWX_AV_FIND(av_frame_get_buffer)
    PWX_AV_FIND(av_channel_layout_default)
    PWX_AV_FIND(av_strdup)
    PWX_AV_FIND(av_strerror)
    PWX_AV_FIND(av_log_set_level)
#undef PWX_AV_FIND
    if (!complete) {
      av.failure =
          std::string("The peak limiter cannot start: ") + library + " lacks functions it needs.";
      return av;
    }
    av.av_log_set_level(AV_LOG_QUIET);
    return av;
  }();
  if (!functions.failure.empty()) throw EditorError(functions.failure);
  return functions;
}

std::string LimiterFailure(const char* what, int code) {
  char reason[AV_ERROR_MAX_STRING_SIZE] = {};
  Av().av_strerror(code, reason, sizeof reason);
  return std::string("The peak limiter ") + what + ": " + reason;
}

void Check(int code, const char* what) {
  if (code < 0) throw EditorError(LimiterFailure(what, code));
}

float HighestOf(const float* samples, std::size_t count) {
  float highest = 0;
  for (std::size_t i = 0; i < count; ++i) highest = std::max(highest, std::abs(samples[i]));
  return highest;
}

}  // namespace

struct TruePeakLimiter::Graph {
  const AvFunctions& av = Av();  // raises when libavfilter cannot be loaded
  AVFilterGraph* graph = nullptr;
  AVFilterContext* source = nullptr;
  AVFilterContext* sink = nullptr;
  AVFrame* in = nullptr;
  AVFrame* out = nullptr;
  long rate = 0;
  int channels = 0;
  std::int64_t framesIn = 0;
  std::int64_t framesOut = 0;
  float peakIn = 0;
  float peakOut = 0;

  ~Graph() {
    av.av_frame_free(&in);
    av.av_frame_free(&out);
    av.avfilter_graph_free(&graph);
  }
};

TruePeakLimiter::TruePeakLimiter(long rate, int channels, double ceilingDbtp, Peaks peaks)
    : graph_(std::make_unique<Graph>()) {
  Graph& g = *graph_;
  const AvFunctions& av = g.av;
  g.rate = rate;
  g.channels = channels;
  const char* layout = channels == 1 ? "mono" : "stereo";
  g.graph = av.avfilter_graph_alloc();
  g.in = av.av_frame_alloc();
  g.out = av.av_frame_alloc();
  if (!g.graph || !g.in || !g.out) throw EditorError("The peak limiter cannot start.");

  char text[512];
  std::snprintf(text, sizeof text,
                "time_base=1/%ld:sample_rate=%ld:sample_fmt=flt:channel_layout=%s", rate, rate,
                layout);
  Check(av.avfilter_graph_create_filter(&g.source, av.avfilter_get_by_name("abuffer"), "in", text,
                                        nullptr, g.graph),
        "cannot start");
  Check(av.avfilter_graph_create_filter(&g.sink, av.avfilter_get_by_name("abuffersink"), "out",
                                        nullptr, nullptr, g.graph),
        "cannot start");
  // Up to four times the rate, limited there, and back (or limited at the rate); the output is
  // the input's format.
  const double limit = std::pow(10.0, ceilingDbtp / 20);
  char limiter[128];
  std::snprintf(limiter, sizeof limiter,
                "alimiter=limit=%.6f:attack=%g:release=%g:level=0:latency=1", limit, kAttackMs,
                kReleaseMs);
  if (peaks == Peaks::BetweenSamples) {
    std::snprintf(text, sizeof text,
                  "aresample=%ld:resampler=soxr,%s,aresample=%ld:resampler=soxr,"
                  "aformat=sample_fmts=flt:sample_rates=%ld:channel_layouts=%s",
                  rate * kOversampling, limiter, rate, rate, layout);
  } else {
    std::snprintf(text, sizeof text,
                  "%s,aformat=sample_fmts=flt:sample_rates=%ld:channel_layouts=%s", limiter, rate,
                  layout);
  }
  AVFilterInOut* outputs = av.avfilter_inout_alloc();
  AVFilterInOut* inputs = av.avfilter_inout_alloc();
  if (!outputs || !inputs) {
    av.avfilter_inout_free(&outputs);
    av.avfilter_inout_free(&inputs);
    throw EditorError("The peak limiter cannot start.");
  }
  outputs->name = av.av_strdup("in");
  outputs->filter_ctx = g.source;
  inputs->name = av.av_strdup("out");
  inputs->filter_ctx = g.sink;
  const int parsed = av.avfilter_graph_parse_ptr(g.graph, text, &inputs, &outputs, nullptr);
  av.avfilter_inout_free(&outputs);
  av.avfilter_inout_free(&inputs);
  Check(parsed, "cannot start");
  Check(av.avfilter_graph_config(g.graph, nullptr), "cannot start");
}

TruePeakLimiter::~TruePeakLimiter() = default;

void TruePeakLimiter::Process(const float* samples, std::size_t frames,
                              std::vector<float>& output) {
  if (frames == 0) return;
  Graph& g = *graph_;
  const AvFunctions& av = g.av;
  const std::size_t count = frames * static_cast<std::size_t>(g.channels);
  g.peakIn = std::max(g.peakIn, HighestOf(samples, count));
  av.av_frame_unref(g.in);
  g.in->format = AV_SAMPLE_FMT_FLT;
  g.in->sample_rate = static_cast<int>(g.rate);
  av.av_channel_layout_default(&g.in->ch_layout, g.channels);
  g.in->nb_samples = static_cast<int>(frames);
  g.in->pts = g.framesIn;
  Check(av.av_frame_get_buffer(g.in, 0), "failed");
  std::memcpy(g.in->data[0], samples, count * sizeof(float));
  g.framesIn += static_cast<std::int64_t>(frames);
  Check(av.av_buffersrc_add_frame_flags(g.source, g.in, 0), "failed");
  Drain(output);
}

void TruePeakLimiter::Finish(std::vector<float>& output) {
  Graph& g = *graph_;
  Check(g.av.av_buffersrc_add_frame_flags(g.source, nullptr, 0), "failed");
  Drain(output);
  // Should the resamplers' rounding leave out a last sample, silence stands in for it.
  if (g.framesOut < g.framesIn) {
    output.insert(
        output.end(),
        static_cast<std::size_t>(g.framesIn - g.framesOut) * static_cast<std::size_t>(g.channels),
        0.0f);
    g.framesOut = g.framesIn;
  }
}

void TruePeakLimiter::Drain(std::vector<float>& output) {
  Graph& g = *graph_;
  const AvFunctions& av = g.av;
  for (;;) {
    const int got = av.av_buffersink_get_frame(g.sink, g.out);
    if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return;
    Check(got, "failed");
    // The resamplers give the output aligned with the input and as long; nothing beyond the
    // input's end is taken, whatever a filter's rounding adds there.
    const std::int64_t keep = std::min<std::int64_t>(g.out->nb_samples, g.framesIn - g.framesOut);
    if (keep > 0) {
      const auto* from = reinterpret_cast<const float*>(g.out->data[0]);
      const std::size_t count =
          static_cast<std::size_t>(keep) * static_cast<std::size_t>(g.channels);
      g.peakOut = std::max(g.peakOut, HighestOf(from, count));
      output.insert(output.end(), from, from + count);
      g.framesOut += keep;
    }
    av.av_frame_unref(g.out);
  }
}

double TruePeakLimiter::PeakReductionDb() const {
  const Graph& g = *graph_;
  if (!(g.peakOut > 0) || g.peakIn <= g.peakOut) return 0;
  return 20 * std::log10(static_cast<double>(g.peakIn) / static_cast<double>(g.peakOut));
}

}  // namespace pwx
