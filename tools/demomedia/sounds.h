// The demo's enter sound and melody, made from code.
#pragma once

#include <QByteArray>

// Three rising bell tones, 16-bit mono PCM at 22050 Hz (0.6 s).
QByteArray ChimeWav();

// Sixteen bars of broken chords over a bass line, 120 beats a minute (32 s), format 0.
QByteArray MelodyMidi();
