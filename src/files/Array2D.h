#pragma once

// A two-dimensional table of values with any lower and upper bound in each
// dimension, as the CSV writer takes it. A table built without dimensions (or
// with a list of any other rank) is "not two-dimensional" and the writer
// refuses it.

#include <QVariant>
#include <vector>

class Array2D {
public:
    // Not a two-dimensional array.
    Array2D() = default;
    // Every value empty; an upper bound below its lower bound gives no rows
    // (or no columns) in that dimension.
    Array2D(int lower1, int upper1, int lower2, int upper2)
        : valid_(true), lower1_(lower1), upper1_(upper1), lower2_(lower2), upper2_(upper2) {
        values_.resize(static_cast<size_t>(count1()) * static_cast<size_t>(count2()));
    }

    bool isTwoDimensional() const { return valid_; }
    int lower1() const { return lower1_; }
    int upper1() const { return upper1_; }
    int lower2() const { return lower2_; }
    int upper2() const { return upper2_; }

    // Out-of-bounds indexes are a programming error (checked in debug builds).
    QVariant& operator()(int i, int j) { return values_[slot(i, j)]; }
    const QVariant& operator()(int i, int j) const { return values_[slot(i, j)]; }

private:
    int count1() const { return upper1_ >= lower1_ ? upper1_ - lower1_ + 1 : 0; }
    int count2() const { return upper2_ >= lower2_ ? upper2_ - lower2_ + 1 : 0; }
    size_t slot(int i, int j) const {
        Q_ASSERT(i >= lower1_ && i <= upper1_ && j >= lower2_ && j <= upper2_);
        return static_cast<size_t>(i - lower1_) * static_cast<size_t>(count2()) +
               static_cast<size_t>(j - lower2_);
    }

    bool valid_ = false;
    int lower1_ = 0, upper1_ = -1, lower2_ = 0, upper2_ = -1;
    std::vector<QVariant> values_;
};
