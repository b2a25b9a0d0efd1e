// The demo's enter sound (a WAV chime) and melody (a MIDI file), made from code.
#include "sounds.h"

#include "bytes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

QByteArray ChimeWav()
{
    constexpr int Rate = 22050;
    const double notes[] = {1046.5, 1318.5, 1568.0};
    QByteArray samples;
    for (double frequency : notes) {
        for (int i = 0; i < Rate / 5; ++i) {
            const double t = double(i) / Rate;
            const double v = std::sin(2 * std::numbers::pi * frequency * t) * std::exp(-t * 12);
            Put16(samples, int(std::lround(v * 12000)) & 0xFFFF);
        }
    }
    QByteArray wav("RIFF");
    Put32(wav, uint32_t(36 + samples.size()));
    wav += "WAVEfmt ";
    Put32(wav, 16);
    Put16(wav, 1); // PCM
    Put16(wav, 1); // mono
    Put32(wav, Rate);
    Put32(wav, Rate * 2);
    Put16(wav, 2);
    Put16(wav, 16);
    wav += "data";
    Put32(wav, uint32_t(samples.size()));
    wav += samples;
    return wav;
}

namespace {

void PutVarLen(QByteArray &out, uint32_t v)
{
    QByteArray bytes;
    bytes.prepend(char(v & 0x7F));
    while (v >>= 7)
        bytes.prepend(char(0x80 | (v & 0x7F)));
    out += bytes;
}

} // namespace

// Sixteen bars of broken chords over a bass line (C, A minor, F, G), 120 beats a minute.
QByteArray MelodyMidi()
{
    struct Event {
        uint32_t tick;
        QByteArray bytes;
    };
    std::vector<Event> events;
    constexpr uint32_t Beat = 480;
    auto note = [&](uint32_t at, uint32_t length, int channel, int key, int velocity) {
        events.push_back({at, Bytes({char(0x90 | channel), char(key), char(velocity)})});
        events.push_back({at + length, Bytes({char(0x80 | channel), char(key), char(0)})});
    };
    const int chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
    const int pattern[8] = {0, 1, 2, 1, 0, 2, 1, 2};
    for (int bar = 0; bar < 16; ++bar) {
        const int *chord = chords[bar % 4];
        const uint32_t start = uint32_t(bar) * 4 * Beat;
        note(start, 4 * Beat - 10, 1, chord[0] - 24, 70);
        for (int step = 0; step < 8; ++step)
            note(start + uint32_t(step) * Beat / 2, Beat / 2 - 10, 0,
                 chord[pattern[step]] + 12 * (step >= 4 && bar % 2 ? 1 : 0), 80);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event &a, const Event &b) { return a.tick < b.tick; });

    QByteArray track;
    track += QByteArray("\x00\xFF\x51\x03\x07\xA1\x20", 7); // tempo: 500000 us a beat
    track += QByteArray("\x00\xC0\x0B", 3);                 // channel 0: vibraphone
    track += QByteArray("\x00\xC1\x20", 3);                 // channel 1: acoustic bass
    uint32_t now = 0;
    for (const Event &e : events) {
        PutVarLen(track, e.tick - now);
        track += e.bytes;
        now = e.tick;
    }
    track += QByteArray("\x00\xFF\x2F\x00", 4);

    QByteArray midi("MThd");
    midi += QByteArray("\x00\x00\x00\x06\x00\x00\x00\x01", 8); // format 0, one track
    midi += char(Beat >> 8);
    midi += char(Beat & 0xFF);
    midi += "MTrk";
    for (int shift = 24; shift >= 0; shift -= 8)
        midi += char((track.size() >> shift) & 0xFF);
    midi += track;
    return midi;
}

