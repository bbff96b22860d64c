#pragma once

#include <QStringList>

// The effect window's fixed texts: list contents and hints.
namespace fxtexts {

inline const QStringList kHarmonicPitchItems = {
    "-12", "-11", "-10", "-9", "-8", "-7", "-6", "-5", "-4", "-3",  "-2",  "-1", "0",
    "+1",  "+2",  "+3",  "+4", "+5", "+6", "+7", "+8", "+9", "+10", "+11", "+12"};

inline const QStringList kGuitarTuningItems = {
    "No Tuning Selected", "Standard (EADGBE)", "Drop D (DADGBE)", "DADGAD",     "open D (DADF#AD)",
    "Blues G (DGDGBD)",   "Open A (EAC#EAE)",  "Open C (CGCGCE)", "Bass Guitar"};

inline const QStringList kSemitoneItems = {"-5", "-4", "-3", "-2", "-1", "0", "+1", "+2", "+3"};

inline const QString kNotAssigned = "Not Assigned";
inline const QStringList kRemoteItems = {kNotAssigned, "Bypass", "Preset"};

inline const QString kHint1stHarmonic = "Set the level of the first harmonic.";
inline const QString kHintHarmonicPitch =
    "Set the pitch of the first harmonic from -12 to +12 semitones";
inline const QString kHintDominantNoteCut =
    "Improves tracking on lowest chord (E-open chord in standard tuning) when RANGE is set "
    "high.\r\nMake sure to choose the right tuning for your instrument before applying this "
    "parameter.";
inline const QString kHintHighNoteCut =
    "Reduces undesired tracking and noise on specific notes (e.g., open G string and first "
    "frets in standard tuning)\r\nEnsure your instrument is set to the correct tuning before "
    "applying this parameter.";
inline const QString kHintInputLevel =
    "Set the input signal level for the octave-down effect. This does not affect the dry "
    "signal.\r\nAdjust if you hear excessive distortion in the sub. By default, it is set to "
    "the max position.";
inline const QString kHintGuitarTuning =
    "Select the tuning of your instrument and the pitch variation\r\nin the box below. "
    "Example:\r\n- if you play in standard tuning 1 half-step down select standard tuning and "
    "-1 Pitch.\r\n- if you play in standard tuning and use capo on 3rd fret select standard "
    "tuning and +3 Pitch.";
inline const QString kHintSemitones = "Select the pitch variation in semitones from -5 to +3";
inline const QString kHintDryHPF = "Filters low frequencies from the dry signal";
inline const QString kHintLimitRange = "Limit the tracking range on higher notes.";
inline const QString kHintNoiseGateStatus = "Turn ON the noise gate";
inline const QString kHintNoiseGateThreshold =
    "Set the level where the noise gate starts. When set to minimum, the Noise Gate is OFF. "
    "Turn it up to activate the gate and set the desired threshold.";

inline const QString kSetTuningFirst = "Set a tuning before using this parameter";
inline const QString kNoTuningForAssign =
    "No tuning selected, Select a tuning before assigning this parameter";

}  // namespace fxtexts
