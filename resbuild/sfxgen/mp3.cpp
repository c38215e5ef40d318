#include "mp3.h"

#include <lame.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "image.h"

namespace sfx {

namespace {

struct CloseLame {
  void operator()(lame_global_flags* lame) const { lame_close(lame); }
};

std::vector<uint8_t> Encode(const float* left, const float* right, size_t samples, bool stereo) {
  std::unique_ptr<lame_global_flags, CloseLame> lame(lame_init());
  if (!lame) throw BuildError("cannot start the mp3 encoder");
  lame_set_in_samplerate(lame.get(), SampleRate);
  lame_set_out_samplerate(lame.get(), SampleRate);
  lame_set_num_channels(lame.get(), stereo ? 2 : 1);
  lame_set_mode(lame.get(), stereo ? JOINT_STEREO : MONO);
  // LAME's middle setting: about a second a track; its slowest gains nothing audible here.
  lame_set_quality(lame.get(), 5);
  if (stereo) {
    lame_set_VBR(lame.get(), vbr_off);
    lame_set_brate(lame.get(), MusicKbps);
  } else {
    lame_set_VBR(lame.get(), vbr_default);
    lame_set_VBR_quality(lame.get(), EffectVbrQuality);
  }
  // The tag frame tells decoders the exact length; no ID3 tags, nothing reads them.
  lame_set_bWriteVbrTag(lame.get(), 1);
  lame_set_write_id3tag_automatic(lame.get(), 0);
  if (lame_init_params(lame.get()) < 0) throw BuildError("the mp3 encoder refused its settings");

  constexpr size_t Chunk = 8192;
  std::vector<uint8_t> mp3, buffer(Chunk * 5 / 4 + 7200);  // LAME's worst case for a chunk
  auto append = [&](int bytes) {
    if (bytes < 0) throw BuildError("the mp3 encoder failed (" + std::to_string(bytes) + ")");
    mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + bytes);
  };
  for (size_t at = 0; at < samples; at += Chunk) {
    const int count = static_cast<int>(std::min(Chunk, samples - at));
    append(lame_encode_buffer_ieee_float(lame.get(), left + at, right + at, count, buffer.data(),
                                         static_cast<int>(buffer.size())));
  }
  append(lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size())));

  // LAME leaves the stream's first frame empty for the tag it can only write at the end.
  const size_t tag = lame_get_lametag_frame(lame.get(), buffer.data(), buffer.size());
  if (tag > buffer.size() || tag > mp3.size()) throw BuildError("the mp3 tag frame does not fit");
  std::copy_n(buffer.begin(), tag, mp3.begin());
  return mp3;
}

std::vector<uint8_t> EncodeMp3(const Pcm& mono) {
  return Encode(mono.data(), mono.data(), mono.size(), false);
}

std::vector<uint8_t> EncodeMp3(const StereoPcm& stereo) {
  if (stereo.left.size() != stereo.right.size())
    throw BuildError("the music's channels differ in length");
  return Encode(stereo.left.data(), stereo.right.data(), stereo.left.size(), true);
}

double DecodedPeak(const std::vector<uint8_t>& mp3) {
  const StereoPcm decoded = DecodeMp3(mp3);
  return std::max(Peak(decoded.left), Peak(decoded.right));
}

// The decoded peak moves a little with each encoding as well as with the level, so the level
// is corrected until the peak lands close enough.
template <typename Sound>
std::vector<uint8_t> Master(Sound sound) {
  constexpr double ToleranceDb = 0.2;
  constexpr int MostEncodings = 5;
  double levelDb = MasterPeakDb;
  for (int encoding = 1;; ++encoding) {
    Normalize(sound, levelDb);
    std::vector<uint8_t> mp3 = EncodeMp3(sound);
    const double offDb = GainToDb(DecodedPeak(mp3)) - MasterPeakDb;
    if (std::abs(offDb) <= ToleranceDb || encoding == MostEncodings) return mp3;
    levelDb -= offDb;
  }
}

struct CloseHip {
  void operator()(hip_global_flags* hip) const { hip_decode_exit(hip); }
};

}  // namespace

StereoPcm DecodeMp3(const std::vector<uint8_t>& mp3) {
  std::unique_ptr<hip_global_flags, CloseHip> hip(hip_decode_init());
  if (!hip) throw BuildError("cannot start the mp3 decoder");
  constexpr size_t FrameSamples = 1152;
  std::vector<short> left(FrameSamples), right(FrameSamples);
  std::vector<uint8_t> input(mp3);  // the decoder takes its input as writable
  StereoPcm out;
  mp3data_struct format{};
  // The first call takes the whole file; each call gives at most one frame. The first calls
  // give nothing (the tag frame; the first audio frame, held until the next is seen), then
  // every call a frame until the end.
  constexpr int QuietCalls = 2;
  size_t length = input.size();
  for (int call = 0;; ++call, length = 0) {
    const int samples =
        hip_decode1_headers(hip.get(), input.data(), length, left.data(), right.data(), &format);
    if (samples < 0) throw BuildError("the mp3 decoder failed");
    if (samples == 0 && call >= QuietCalls) break;
    const std::vector<short>& second = format.stereo == 2 ? right : left;
    for (int i = 0; i < samples; ++i) {
      out.left.push_back(left[size_t(i)] / 32768.0f);
      out.right.push_back(second[size_t(i)] / 32768.0f);
    }
  }
  return out;
}

std::vector<uint8_t> EncodeMastered(Pcm mono) { return Master(std::move(mono)); }

std::vector<uint8_t> EncodeMastered(StereoPcm stereo) { return Master(std::move(stereo)); }

}  // namespace sfx
