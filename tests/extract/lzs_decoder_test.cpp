#include "extract/lzs_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/lzs_encoder.h"
#include "tests/support/mtf_writer.h"

namespace kelvara {
namespace {

using testing::ByteVector;
using testing::LzsEncode;
using testing::LzsTokenWriter;

ByteVector Decode(const ByteVector& input, size_t capacity = kFrameOutputCapacity) {
    ByteVector out(capacity + 1, 0xEE);
    size_t n = DecodeFrame(input.data(), input.size(), out.data(), capacity);
    EXPECT_LE(n, capacity);
    out.resize(n);
    return out;
}

ByteVector Text(std::string_view s) {
    return ByteVector(s.begin(), s.end());
}

TEST(DecodeFrameTest, LiteralThenOverlappingStringThenEndMarker) {
    EXPECT_EQ(Decode({0x20, 0xE0, 0x73, 0x00}, 6), ByteVector(6, 0x41));
    EXPECT_EQ(Decode({0x20, 0xE0, 0x73, 0x00}), ByteVector(6, 0x41));
}

// Every length code, both offset forms, and both end markers.
TEST(DecodeFrameTest, EveryLengthAndOffsetFormDecodes) {
    const ByteVector prefix = testing::RandomBytes(2047, 5);
    for (uint32_t offset : {1u, 2u, 7u, 127u, 128u, 1000u, 2047u}) {
        for (uint32_t length :
             {2u, 3u, 4u, 5u, 6u, 7u, 8u, 21u, 22u, 23u, 24u, 37u, 38u, 52u, 53u, 300u, 4000u}) {
            for (bool longEnd : {false, true}) {
                LzsTokenWriter w;
                for (uint8_t b : prefix) w.Literal(b);
                w.String(offset, length);
                w.End(longEnd);
                ByteVector expected = prefix;
                for (uint32_t k = 0; k < length; ++k)
                    expected.push_back(expected[expected.size() - offset]);
                ASSERT_EQ(Decode(w.Finish()), expected)
                    << "offset " << offset << " length " << length;
            }
        }
    }
}

TEST(DecodeFrameTest, RoundTripsTextBinaryAndRandomData) {
    std::string text;
    for (int i = 0; text.size() < 60'000; ++i) {
        text += "Line " + std::to_string(i * 7919 % 1000) +
                ": the quick brown fox jumps over the lazy dog\r\n";
    }
    ByteVector binary;
    for (uint32_t i = 0; binary.size() < 63'520; ++i) {
        uint32_t v = i * 2654435761u;
        binary.push_back(static_cast<uint8_t>(i & 0xFF));
        binary.push_back(0);
        binary.push_back(static_cast<uint8_t>(v >> 28));
        binary.push_back(i % 3 == 0 ? 0xFF : 0x00);
    }
    binary.resize(63'520);
    const ByteVector inputs[] = {
        Text(text.substr(0, 63'520)), binary,    testing::RandomBytes(50'000, 11),
        ByteVector(63'520, 0),        Text("a"), Text("ab"),
        Text("abababababababababab"), {}};
    for (const ByteVector& data : inputs) {
        ByteVector packed = LzsEncode(data);
        ASSERT_EQ(Decode(packed), data) << "size " << data.size();
    }
}

TEST(DecodeFrameTest, OutputCapacityDropsTheRestOfAString) {
    LzsTokenWriter w;
    w.Literal('x');
    w.String(1, 30);
    w.Literal('y');
    w.End();
    EXPECT_EQ(Decode(w.Finish(), 10), ByteVector(10, 'x'));
}

TEST(DecodeFrameTest, ZeroCapacityWritesNothing) {
    ByteVector packed = LzsEncode(Text("hello"));
    uint8_t sentinel = 0xEE;
    EXPECT_EQ(DecodeFrame(packed.data(), packed.size(), &sentinel, 0), 0u);
    EXPECT_EQ(sentinel, 0xEE);
}

TEST(DecodeFrameTest, IncompleteLastTokenIsNotUsed) {
    LzsTokenWriter literals;
    literals.Literal('a');
    literals.Literal('b');
    literals.Bits(0, 5);  // half a literal
    EXPECT_EQ(Decode(literals.Finish()), Text("ab"));

    LzsTokenWriter string;
    string.Literal('a');
    string.Bits(0b11, 2);
    string.Bits(1, 7);
    string.Bits(0b1111, 4);
    string.Bits(0b1111, 4);
    string.Bits(0b1111, 4);  // the length goes on into bits that are not there
    EXPECT_EQ(Decode(string.Finish()), Text("a"));

    // Without an end marker the frame ends with its input bits; pad bits never form a token.
    ByteVector packed = LzsEncode(Text("no end marker here"), false);
    EXPECT_EQ(Decode(packed), Text("no end marker here"));
}

TEST(DecodeFrameTest, DecodingStopsAtTheEndMarker) {
    LzsTokenWriter w;
    w.Literal('a');
    w.End(true);
    w.Literal('b');
    EXPECT_EQ(Decode(w.Finish()), Text("a"));
}

TEST(DecodeFrameTest, StringReachingBeforeTheFrameYieldsZeros) {
    LzsTokenWriter w;
    w.Literal('a');
    w.Literal('b');
    w.String(5, 7);  // three bytes before the frame, then a, b, and the two zeros just written
    w.End();
    EXPECT_EQ(Decode(w.Finish()), (ByteVector{'a', 'b', 0, 0, 0, 'a', 'b', 0, 0}));

    LzsTokenWriter first;
    first.String(2047, 3);
    first.End();
    EXPECT_EQ(Decode(first.Finish()), ByteVector(3, 0));
}

TEST(DecodeFrameTest, FramesAreIndependent) {
    // A frame that refers back before its start must not see the previous frame's bytes.
    ByteVector out(64, 0xEE);
    ByteVector one = LzsEncode(Text("previous frame bytes"));
    DecodeFrame(one.data(), one.size(), out.data(), out.size());
    LzsTokenWriter w;
    w.String(4, 4);
    w.End();
    ByteVector two = w.Finish();
    ASSERT_EQ(DecodeFrame(two.data(), two.size(), out.data(), out.size()), 4u);
    EXPECT_EQ(ByteVector(out.begin(), out.begin() + 4), ByteVector(4, 0));
}

// The decoder as described, one bit at a time, with a zeroed 2,048-byte history ring.
ByteVector ReferenceDecode(const ByteVector& in, size_t capacity) {
    size_t bit = 0;
    auto get = [&](unsigned n, uint32_t& v) {
        if (bit + n > in.size() * 8) return false;
        v = 0;
        for (unsigned k = 0; k < n; ++k, ++bit) v = (v << 1) | ((in[bit / 8] >> (7 - bit % 8)) & 1);
        return true;
    };
    uint8_t history[2048] = {};
    size_t at = 0;
    ByteVector out;
    auto emit = [&](uint8_t b) {
        out.push_back(b);
        history[at] = b;
        at = (at + 1) % 2048;
    };
    uint32_t v = 0;
    while (out.size() < capacity) {
        if (!get(1, v)) break;
        if (v == 0) {
            if (!get(8, v)) break;
            emit(static_cast<uint8_t>(v));
            continue;
        }
        uint32_t shortForm = 0, offset = 0;
        if (!get(1, shortForm) || !get(shortForm ? 7 : 11, offset) || offset == 0) break;
        uint32_t length = 0;
        if (!get(2, v)) break;
        if (v < 3) {
            length = 2 + v;
        } else {
            if (!get(2, v)) break;
            if (v < 3) {
                length = 5 + v;
            } else {
                if (!get(4, v)) break;
                length = 8 + v;
                bool complete = v < 15;
                while (!complete && get(4, v)) {
                    length += v;
                    complete = v < 15;
                }
                if (!complete) break;
            }
        }
        for (uint32_t k = 0; k < length && out.size() < capacity; ++k) {
            emit(history[(at + 2048 - offset) % 2048]);
        }
    }
    return out;
}

// Random token streams (offsets reaching before the frame, long lengths, end markers, cut input,
// small capacities) decode exactly as the bit-by-bit description does.
TEST(DecodeFrameTest, MatchesTheBitByBitDescriptionOnRandomTokens) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 3000; ++round) {
        LzsTokenWriter w;
        const int tokens = static_cast<int>(rng() % 400);
        for (int t = 0; t < tokens; ++t) {
            uint32_t kind = rng() % 100;
            if (kind < 55) {
                w.Literal(static_cast<uint8_t>(rng() % (round % 2 ? 256 : 4)));
            } else if (kind < 99) {
                uint32_t offset = rng() % 2 ? 1 + rng() % 127 : 1 + rng() % 2047;
                uint32_t length = rng() % 4 ? 2 + rng() % 21 : 2 + rng() % 300;
                w.String(offset, length);
            } else {
                w.End(rng() % 2);
            }
        }
        if (rng() % 2) w.End();
        ByteVector input = w.Finish();
        if (rng() % 3 == 0 && !input.empty()) input.resize(rng() % input.size());
        size_t capacity = rng() % 4 ? kFrameOutputCapacity : rng() % 200;
        ASSERT_EQ(Decode(input, capacity), ReferenceDecode(input, capacity)) << "round " << round;
    }
}

TEST(DecodeFrameTest, ZeroFilledInputDecodesAsZeroLiterals) {
    // A frame cut short by a damaged source arrives zero-filled: 9 zero bits are a 0x00 literal.
    ByteVector zeros(18, 0);
    EXPECT_EQ(Decode(zeros), ByteVector(16, 0));
}

}  // namespace
}  // namespace kelvara
