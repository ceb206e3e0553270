#pragma once
// The map between the values of one axis and its pixels: the pixel extent along the plot and
// the one formula that places a value in it.

class TScaleDiv;

enum class TAxisOrientation { Horizontal, Vertical };

class TScaleMap {
public:
    // A horizontal axis grows to the right; a vertical one upwards, larger values higher up.
    // The range is always the scale's own, which must outlive the map.
    TScaleMap(TAxisOrientation AOrientation, const TScaleDiv &Scale) : FOrientation(AOrientation), FScale(&Scale) {}
    TScaleMap(TAxisOrientation, const TScaleDiv &&) = delete;

    bool Horizontal() const { return FOrientation == TAxisOrientation::Horizontal; }

    // The axis spans the plot rectangle from its edge Start over Size pixels.
    void SetPixelExtent(int Start, int Size);

    int FirstPixel() const { return FFirstPixel; }
    int LastPixel() const { return FLastPixel; }
    int PixelLength() const { return FLastPixel - FFirstPixel; }
    int CenterPixel() const { return (FFirstPixel + FLastPixel) / 2; }

    // The value's pixel; the middle for a range of zero width, for a value too far out and
    // for a range that is no number.
    int ValueToPixel(double Value) const;
    // False for a value too far out for a pixel of its own (ValueToPixel then gives the middle).
    bool PixelFits(double Value) const;
    // The unrounded position of a finite value, however far outside the axis it lies; for
    // drawing the part of a line that crosses the plot between two far-out points.
    long double ExactPixel(double Value) const;
    // The value at a pixel along the axis (the inverse of ValueToPixel up to rounding).
    double PixelToValue(int Pixel) const;

private:
    // The distance of the value from the range's low end, in pixels.
    long double Offset(double Value) const;
    // Where an offset from the low end lies along the axis.
    template <class T> T Place(T Offset) const { return Horizontal() ? FFirstPixel + Offset : FLastPixel - Offset; }

    TAxisOrientation FOrientation;
    const TScaleDiv *FScale;
    int FFirstPixel = 0;
    int FLastPixel = 0;
};
