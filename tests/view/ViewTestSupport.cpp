#include "ViewTestSupport.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

#include "astro/Constants.h"
#include "astro/Observer.h"

namespace {

// Text needs a GUI application; the tests run on the offscreen platform.
class ViewEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        InitialiseConstants();
        if (!QGuiApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_view";
            static char* argv[] = {name, nullptr};
            app_ = std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    void TearDown() override {
        TheObserver = nullptr;
        observer_.reset();
        app_.reset();
    }

    static std::unique_ptr<Observer> observer_;

private:
    std::unique_ptr<QGuiApplication> app_;
};

std::unique_ptr<Observer> ViewEnvironment::observer_;

[[maybe_unused]] ::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ViewEnvironment);

}  // namespace

int CountColour(const QImage& image, QRgb colour, int left, int top, int right, int bottom) {
    if (right < 0) right = image.width();
    if (bottom < 0) bottom = image.height();
    int n = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++n;
        }
    }
    return n;
}

int CountLit(const QImage& image, int left, int top, int right, int bottom) {
    if (right < 0) right = image.width();
    if (bottom < 0) bottom = image.height();
    return (right - left) * (bottom - top) - CountColour(image, qRgb(0, 0, 0), left, top, right, bottom);
}

void UseTestObserver(double latitudeDegrees, int year, int month, int day, int hour, int minute) {
    Observer::Setup setup;
    setup.latitude.SetDegrees(std::abs(latitudeDegrees));
    setup.latitude.DegreesToSexagesimal();
    setup.isSouth = latitudeDegrees < 0;
    setup.longitude.SetDegrees(0.0);
    setup.longitude.DegreesToSexagesimal();
    auto clock = [=] {
        LocalClockReading r;
        r.year = year;
        r.month = month;
        r.day = day;
        r.hour = hour;
        r.minute = minute;
        r.daylight = LocalClockReading::Daylight::Standard;
        return r;
    };
    ViewEnvironment::observer_ = std::make_unique<Observer>(setup, clock);
    Observer& o = *ViewEnvironment::observer_;
    o.setUseSystemClock(false);
    o.stop();
    o.setZone(0);
    o.setDst(false);
    o.setCivil(hour, minute, 0, day, month, year);
    o.update();
    TheObserver = &o;
}
