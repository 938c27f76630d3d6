// A constant-velocity Kalman filter in the sensor plane: state (x, y, vx, vy) with x lateral
// (metres, positive to the right) and y forward (metres along the boresight).
#pragma once

namespace zuvo::radar {

struct Vec2 {
    double x;
    double y;
};

// A symmetric 2 x 2 covariance.
struct Cov2 {
    double xx;
    double xy;
    double yy;
};

// The Cartesian position of a polar measurement (distance in metres, angle in degrees) and its
// covariance for the given distance and angle standard deviations.
void PolarToCartesian(double distance, double angleDeg, double distanceSigma, double angleSigmaDeg,
                      Vec2& position, Cov2& covariance);

class CvKalman {
public:
    // Starts at position with its covariance, at rest, with speedSigma (m/s) per axis.
    CvKalman(Vec2 position, const Cov2& positionCovariance, double speedSigma);

    // Moves the state dt seconds ahead under white acceleration of accelerationSigma (m/s^2).
    void Predict(double dt, double accelerationSigma);
    // Squared Mahalanobis distance of measurement z with covariance r from the prediction.
    double Distance2(Vec2 z, const Cov2& r) const;
    void Update(Vec2 z, const Cov2& r);

    // The same for the radial velocity (m/s, positive moving away from the sensor) measured
    // with the given variance; the filter linearises it around its current state.
    double RadialDistance2(double radialVelocity, double variance) const;
    void UpdateRadial(double radialVelocity, double variance);

    Vec2 Position() const { return Vec2{m_x[0], m_x[1]}; }
    Vec2 Velocity() const { return Vec2{m_x[2], m_x[3]}; }

private:
    // The radial velocity the state predicts and its gradient with respect to the state.
    bool RadialModel(double& predicted, double (&h)[4]) const;

    double m_x[4];
    double m_p[4][4];
};

}  // namespace zuvo::radar
