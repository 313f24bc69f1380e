#pragma once

#include <cstdint>
#include <istream>
#include <limits>
#include <ostream>
#include <string>
#include <utility>

// Shape imperfection of a weld seam per C11.A6 (misalignment, out-of-roundness, local deviation,
// angular misalignment on a sphere), and the stress intensification factor A it gives across
// and along the seam. Read inside a weld-seam block, which also gives the seam's geometry.
class CPelnoFatigueImperfection {
public:
    // Geometry codes given by the weld seam.
    static constexpr std::int32_t kUnknown = 10;
    // Longitudinal seam on a cylinder.
    static constexpr std::int32_t kLongitudinal = 20;
    // Circumferential seam on a cylinder, or a cylinder-sphere junction.
    static constexpr std::int32_t kCircumferential = 30;
    // Seam between two sphere plates.
    static constexpr std::int32_t kSphere = 40;

    CPelnoFatigueImperfection() = default;
    CPelnoFatigueImperfection(const CPelnoFatigueImperfection& source);
    CPelnoFatigueImperfection& operator=(const CPelnoFatigueImperfection& source);
    ~CPelnoFatigueImperfection() = default;

    // Reads the block opened by the "*IMPERFECTION" card (its card buffer) up to
    // "*FIN_IMPERFECTION"; type is the geometry code of the seam.
    void Read(std::istream& input, const std::string& headerCardBuffer, std::int32_t type);
    // Validates and stores every field, then marks the imperfection defined (code 160
    // otherwise). Angles in degrees, lengths in mm.
    void SetDefinition(std::string name, std::int32_t type, double D, double Dmax, double Dmin,
                       double e, double delta, double theta, double beta);

    // Stress intensification factors (across the seam, along the seam) for the thicknesses t1
    // and t2 of the welded components (either order), the pressure p of the record (negative:
    // external), the admissible external pressure Pe, the modulus E and Poisson's ratio nu.
    // Code 160 when the imperfection is not defined; code 440 for a longitudinal seam under
    // external pressure when Pe is not positive.
    std::pair<double, double> GetA(double t1, double t2, double p, double Pe, double E,
                                   double nu) const;

    bool IsDefined() const { return defined_; }
    const std::string& GetName() const { return name_; }
    std::int32_t GetType() const { return type_; }
    double GetD() const { return D_; }
    double GetDmax() const { return Dmax_; }
    double GetDmin() const { return Dmin_; }
    double GetE() const { return e_; }
    double GetDelta() const { return delta_; }
    double GetTheta() const { return theta_; }
    double GetBeta() const { return beta_; }

private:
    bool defined_ = false;
    std::string name_ = " ";
    std::int32_t type_ = kUnknown;
    double D_ = std::numeric_limits<double>::lowest();
    double Dmax_ = std::numeric_limits<double>::lowest();
    double Dmin_ = std::numeric_limits<double>::lowest();
    double e_ = std::numeric_limits<double>::lowest();
    double delta_ = std::numeric_limits<double>::lowest();
    double theta_ = std::numeric_limits<double>::lowest();
    double beta_ = std::numeric_limits<double>::lowest();

    void CopyFrom(const CPelnoFatigueImperfection& source);
    // A across a longitudinal seam: ovality and local deviation under pressure, misalignment.
    double LongitudinalA(double tmin, double tmax, double p, double Pe, double E,
                         double nu) const;
};

// Report printout of an imperfection.
std::ostream& operator<<(std::ostream& out, const CPelnoFatigueImperfection& imperfection);
