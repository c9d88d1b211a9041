#pragma once

#include <QPaintDevice>

// The resolution fonts are measured at for the program's own PDF writer: a
// device that only answers its dots per inch (nothing paints on it).
class ResolucionPdf : public QPaintDevice {
public:
    explicit ResolucionPdf(int ppp) : ppp_(ppp) {}
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return ppp_;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        case PdmDepth:
            return 32;
        default:
            return 1000;
        }
    }

private:
    int ppp_;
};
