#pragma once

#include <istream>
#include <map>
#include <ostream>
#include <string>

#include "model/CPelnoFatigueClasse.h"

// Classification of a welded zone per C11.A5: the fatigue class to use for a kind of welded
// detail, with the detail's type, number and sub-type as free texts. Read from a
// "*CLASSIFICATION" block after the classes it names, kept by name in the context library.
class CPelnoFatigueClassification {
public:
    using ClassTable = std::map<std::string, CPelnoFatigueClasse>;

    CPelnoFatigueClassification() = default;
    CPelnoFatigueClassification(const CPelnoFatigueClassification& source);
    CPelnoFatigueClassification& operator=(const CPelnoFatigueClassification& source);

    // Reads the block that follows a "*CLASSIFICATION" card up to "*FIN_CLASSIFICATION"; the
    // class it names must be in the table.
    void Read(std::istream& input, const std::string& header, const ClassTable& classes);

    // Code 110 for a blank name or a class name that is not a key of the table.
    void SetDefinition(const ClassTable& classes, std::string name, std::string className,
                       std::string type, std::string number, std::string subtype,
                       std::string comment);

    bool IsDefined() const { return defined_; }
    const std::string& GetName() const { return name_; }
    const std::string& GetClassName() const { return className_; }
    const std::string& GetType() const { return type_; }
    const std::string& GetNumber() const { return number_; }
    const std::string& GetSubtype() const { return subtype_; }
    const std::string& GetComment() const { return comment_; }

private:
    void CopyFrom(const CPelnoFatigueClassification& source);

    bool defined_ = false;
    std::string name_ = " ";
    std::string className_ = " ";
    std::string type_ = " ";
    std::string number_ = " ";
    std::string subtype_ = " ";
    std::string comment_ = " ";
};

// Report printout of the classification.
std::ostream& operator<<(std::ostream& out, const CPelnoFatigueClassification& classification);
