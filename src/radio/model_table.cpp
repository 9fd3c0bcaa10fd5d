#include "radio_types.h"

namespace tunevox::radio {

namespace {

tDevCap IsaCard(const char* name, const char* maker, int32_t volumeStep, bool stereoDetect, double fmStep,
                bool hasStereo, uint16_t port1, uint16_t port2, uint16_t span) {
    tDevCap c;
    c.DevName = name;
    c.DevMaker = maker;
    c.VolumeStep = volumeStep;
    c.StereoDetect = stereoDetect;
    c.HasFM = true;
    c.FMStep = fmStep;
    c.HasVolume = true;
    c.HasMute = true;
    c.HasStereo = hasStereo;
    c.PortKind = kIOPort;
    c.PortCount = 2;
    c.DefaultPort = 1;
    // Matches no entry of Ports: it becomes a real address on the first
    // Port assignment.
    c.PortValue = 1;
    c.Ports = {0, port1, port2, 0, 0, 0, 0, 0, 0};
    c.PortSpan = span;
    return c;
}

tDevCap SerialRadio(const char* name, const char* maker, bool hasAM, double amStep) {
    tDevCap c;
    c.DevName = name;
    c.DevMaker = maker;
    c.HasFM = true;
    c.HasJapaneseFM = true;
    c.HasAM = hasAM;
    c.FMStep = 0.05;
    c.AMStep = amStep;
    c.HasMute = true;
    c.AlwaysMuteOnExit = true;
    c.OpenDelay = true;
    c.PortKind = kSerialPort;
    c.PortCount = 8;
    c.DefaultPort = 2;
    c.PortValue = 2;
    for (uint16_t i = 0; i <= 8; ++i) c.Ports[i] = i; // COM1..COM8
    return c;
}

} // namespace

tDevCaps DefaultModelTable() {
    tDevCaps t;
    // Port spans: AimsLab/Reveal use their one port, Zoltrix P..P+3 (P+2
    // and P+3 switch the audio), Aztech P..P+7 (the status read).
    t[mRadioTrack] = IsaCard("Radiotrack", "AimsLab", 16, true, 0.025, false, 0x30C, 0x20C, 1);
    t[mRA300] = IsaCard("RA300", "Reveal", 16, true, 0.025, false, 0x30C, 0x20C, 1);
    t[mWizard] = SerialRadio("Wizard Radio", "Gemtek", false, 0.0);
    t[mRadioMan] = SerialRadio("RadioMan", "Gemtek", true, 0.009);
    // Carries an AM step although it has no AM band.
    t[mRadionMaru] = SerialRadio("RadionMaru", "Justy", false, 0.009);
    t[mRajikoma] = SerialRadio("Rajikoma", "Unit", true, 0.009);
    t[mZoltrix] = IsaCard("Radio Plus 108", "Zoltrix", 16, false, 0.005, true, 0x30C, 0x20C, 4);
    // Until the device opens, what most radio devices do: FM in 50 kHz
    // steps, stereo, a signal strength, mute and volume controls. The
    // device's own answers replace this when it opens.
    tDevCap& v = t[mV4L2];
    v.DevName = "radio device (V4L2)";
    v.DevMaker = "Linux";
    v.SignalStrength = true;
    v.StereoDetect = true;
    v.HasFM = true;
    v.FMStep = 0.05;
    v.AMStep = 0.009;
    v.HasStereo = true;
    v.HasMute = true;
    v.HasVolume = true;
    v.VolumeStep = 16;
    v.PortKind = kDeviceNode;
    t[mAztech] = IsaCard("FM radio card", "Aztech/PB/Express", 84, true, 0.025, true, 0x350, 0x358, 8);
    return t;
}

} // namespace tunevox::radio
