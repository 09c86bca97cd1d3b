// SPDX-License-Identifier: GPL-3.0-or-later
// The printable report of a full configuration (every channel in use, every
// signalling table filled), built as HTML and laid out as a PDF, without a
// display. Prints the times against the one-second target; never fails on speed.
#include "model/digit_code.h"
#include "model/radio_data.h"
#include "model/record_layout.h"
#include "model/whole_file.h"
#include "printing/paged_report.h"
#include "report/report_html.h"
#include "text/app_lang.h"
#include <QGuiApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

using namespace k3n;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr double kTargetSeconds = 1.0;
constexpr int kRounds = 5;

RadioData FullConfiguration()
{
    RadioData data;
    data.ResetForBand(2);
    for (int ch = 1; ch <= rec::kChannelCount; ++ch) {
        data.record.set(rec::ch::in_use(ch), 1);
        data.record.set(rec::ch::rx_freq(ch), uint32_t(400000000 + ch * 500000));
        data.record.set(rec::ch::tx_freq(ch), uint32_t(400000000 + ch * 500000 + 5000000));
        data.record.set(rec::ch::signaling_system(ch), uint8_t(1 + ch % 3));
    }
    for (int i = 0; i < rec::dtmf::kEncodeCount; ++i)
        WriteDigitCode(data.record, {rec::dtmf::encode(i), rec::dtmf::kEncodeDigits}, "123456789012");
    for (int i = 0; i < rec::dtmf::kDecodeCount; ++i)
        WriteDigitCode(data.record, {rec::dtmf::decode(i), rec::dtmf::kDecodeDigits}, "4711");
    for (int i = 0; i < rec::five_tone::kEncodeCount; ++i)
        WriteDigitCode(data.record, {rec::five_tone::encode(i), rec::five_tone::kEncodeDigits}, "12345");
    for (int i = 0; i < rec::two_tone::kEncodeCount; ++i)
        data.record.set(rec::two_tone::encode(i), uint8_t(0x21));
    data.radio_serial_number = {'K', '3', '0', '0', '0', '1', 0, 0};
    data.last_program_time = {2026, 12, 8, 10, 0};
    return data;
}

// The process's CPU time: what the report costs on a machine shared with other work.
double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

}   // namespace

int main(int argc, char** argv)
{
    UseOffscreenPlatformWithoutDisplay();
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const RadioData data = FullConfiguration();
    for (const uint16_t languageId : {kLangIdEnglishUs, kLangIdChinesePrc}) {
        const TAppLang lang(languageId);
        double worstHtml = 0, worstTotal = 0, worstCpu = 0;
        for (int round = 0; round < kRounds; ++round) {
            const auto start = Clock::now();
            const double cpuStart = CpuSeconds();
            const QString html = ConfigurationReportHtml(lang, data, QStringLiteral("full.fse"));
            const auto built = Clock::now();
            if (auto error =
                    WriteFileWhole(dir.filePath("full.pdf"), ReportPdf(html, lang, "2026-12-08 10:00", "full.fse"))) {
                std::printf("cannot write the PDF: %s\n", qPrintable(error->message()));
                return 1;
            }
            worstHtml = std::max(worstHtml, Seconds(built - start).count());
            worstTotal = std::max(worstTotal, Seconds(Clock::now() - start).count());
            worstCpu = std::max(worstCpu, CpuSeconds() - cpuStart);
        }
        std::printf("report of a full configuration (%s, 128 channels): HTML %.3f s, HTML+PDF %.3f s, "
                    "CPU %.3f s (worst of %d; target %.1f s) %s\n",
                    languageId == kLangIdEnglishUs ? "English" : "Chinese", worstHtml, worstTotal, worstCpu, kRounds,
                    kTargetSeconds, worstTotal < kTargetSeconds ? "ok" : "SLOWER THAN TARGET");
    }
    return 0;
}
