#include "CvKalman.h"

#include <cmath>

namespace zuvo::radar {

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

// Innovation covariance S = H P H^T + R, with H picking the position.
Cov2 InnovationCovariance(const double p[4][4], const Cov2& r) {
    return Cov2{p[0][0] + r.xx, p[0][1] + r.xy, p[1][1] + r.yy};
}

}  // namespace

void PolarToCartesian(double distance, double angleDeg, double distanceSigma, double angleSigmaDeg,
                      Vec2& position, Cov2& covariance) {
    const double angle = angleDeg * kDegToRad;
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    position = Vec2{distance * s, distance * c};
    const double vr = distanceSigma * distanceSigma;
    const double angleSigma = angleSigmaDeg * kDegToRad;
    const double va = distance * distance * angleSigma * angleSigma;
    // J diag(vr, va) J^T with J = d(x, y) / d(distance, angle), the angle term scaled by r.
    covariance = Cov2{s * s * vr + c * c * va, s * c * (vr - va), c * c * vr + s * s * va};
}

CvKalman::CvKalman(Vec2 position, const Cov2& positionCovariance, double speedSigma)
    : m_x{position.x, position.y, 0.0, 0.0}, m_p{} {
    m_p[0][0] = positionCovariance.xx;
    m_p[0][1] = m_p[1][0] = positionCovariance.xy;
    m_p[1][1] = positionCovariance.yy;
    m_p[2][2] = m_p[3][3] = speedSigma * speedSigma;
}

void CvKalman::Predict(double dt, double accelerationSigma) {
    if (dt <= 0.0) {
        return;
    }
    m_x[0] += m_x[2] * dt;
    m_x[1] += m_x[3] * dt;
    // P = F P F^T for F = [I dt*I; 0 I], written out per block.
    double f[4][4];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            f[i][j] = m_p[i][j];
        }
    }
    for (int axis = 0; axis < 2; ++axis) {
        const int v = axis + 2;
        for (int j = 0; j < 4; ++j) {
            f[axis][j] = m_p[axis][j] + dt * m_p[v][j];
        }
    }
    for (int i = 0; i < 4; ++i) {
        for (int axis = 0; axis < 2; ++axis) {
            m_p[i][axis] = f[i][axis] + dt * f[i][axis + 2];
        }
        m_p[i][2] = f[i][2];
        m_p[i][3] = f[i][3];
    }
    // White acceleration per axis: q [dt^4/4 dt^3/2; dt^3/2 dt^2].
    const double q = accelerationSigma * accelerationSigma;
    for (int axis = 0; axis < 2; ++axis) {
        const int v = axis + 2;
        m_p[axis][axis] += q * dt * dt * dt * dt / 4.0;
        m_p[axis][v] += q * dt * dt * dt / 2.0;
        m_p[v][axis] += q * dt * dt * dt / 2.0;
        m_p[v][v] += q * dt * dt;
    }
}

double CvKalman::Distance2(Vec2 z, const Cov2& r) const {
    const Cov2 s = InnovationCovariance(m_p, r);
    const double det = s.xx * s.yy - s.xy * s.xy;
    if (!(det > 0.0)) {
        return INFINITY;
    }
    const double dx = z.x - m_x[0];
    const double dy = z.y - m_x[1];
    return (s.yy * dx * dx - 2.0 * s.xy * dx * dy + s.xx * dy * dy) / det;
}

void CvKalman::Update(Vec2 z, const Cov2& r) {
    const Cov2 s = InnovationCovariance(m_p, r);
    const double det = s.xx * s.yy - s.xy * s.xy;
    if (!(det > 0.0)) {
        return;
    }
    const double inv[2][2] = {{s.yy / det, -s.xy / det}, {-s.xy / det, s.xx / det}};
    // K = P H^T S^-1: P's first two columns times S^-1.
    double k[4][2];
    for (int i = 0; i < 4; ++i) {
        k[i][0] = m_p[i][0] * inv[0][0] + m_p[i][1] * inv[1][0];
        k[i][1] = m_p[i][0] * inv[0][1] + m_p[i][1] * inv[1][1];
    }
    const double dx = z.x - m_x[0];
    const double dy = z.y - m_x[1];
    for (int i = 0; i < 4; ++i) {
        m_x[i] += k[i][0] * dx + k[i][1] * dy;
    }
    // P = (I - K H) P, then made symmetric again against rounding.
    double updated[4][4];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            updated[i][j] = m_p[i][j] - k[i][0] * m_p[0][j] - k[i][1] * m_p[1][j];
        }
    }
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            m_p[i][j] = 0.5 * (updated[i][j] + updated[j][i]);
        }
    }
}

bool CvKalman::RadialModel(double& predicted, double (&h)[4]) const {
    const double x = m_x[0];
    const double y = m_x[1];
    const double r = std::hypot(x, y);
    // Right at the sensor the direction, and with it the radial velocity, is undefined.
    if (r < 0.1) {
        return false;
    }
    predicted = (x * m_x[2] + y * m_x[3]) / r;
    h[0] = (m_x[2] - predicted * x / r) / r;
    h[1] = (m_x[3] - predicted * y / r) / r;
    h[2] = x / r;
    h[3] = y / r;
    return true;
}

double CvKalman::RadialDistance2(double radialVelocity, double variance) const {
    double predicted = 0.0;
    double h[4];
    if (!RadialModel(predicted, h)) {
        return 0.0;
    }
    double s = variance;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            s += h[i] * m_p[i][j] * h[j];
        }
    }
    const double innovation = radialVelocity - predicted;
    return s > 0.0 ? innovation * innovation / s : INFINITY;
}

void CvKalman::UpdateRadial(double radialVelocity, double variance) {
    double predicted = 0.0;
    double h[4];
    if (!RadialModel(predicted, h)) {
        return;
    }
    double ph[4];
    for (int i = 0; i < 4; ++i) {
        ph[i] = 0.0;
        for (int j = 0; j < 4; ++j) {
            ph[i] += m_p[i][j] * h[j];
        }
    }
    double s = variance;
    for (int i = 0; i < 4; ++i) {
        s += h[i] * ph[i];
    }
    if (!(s > 0.0)) {
        return;
    }
    const double innovation = radialVelocity - predicted;
    for (int i = 0; i < 4; ++i) {
        m_x[i] += ph[i] / s * innovation;
    }
    // P = P - (P h)(P h)^T / s keeps P symmetric by construction.
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            m_p[i][j] -= ph[i] * ph[j] / s;
        }
    }
}

}  // namespace zuvo::radar
