#include "model/CPelnoFatigueClassification.h"

#include "app/Guarded.h"
#include "damage/ReportText.h"
#include "deck/BlockReader.h"
#include "deck/CardReader.h"

namespace {

constexpr std::int32_t kBadClassification = 110;

}  // namespace

CPelnoFatigueClassification::CPelnoFatigueClassification(const CPelnoFatigueClassification& source)
{
    static const MethodLogName log("CPelnoClassification::CPelnoClassification(&SourceObject)");
    Guarded(log, [&] { CopyFrom(source); });
}

CPelnoFatigueClassification& CPelnoFatigueClassification::operator=(
    const CPelnoFatigueClassification& source)
{
    static const MethodLogName log("CPelnoFatigueClassification::operator=");
    return Guarded(log, [&]() -> CPelnoFatigueClassification& {
        if (this != &source) CopyFrom(source);
        return *this;
    });
}

void CPelnoFatigueClassification::CopyFrom(const CPelnoFatigueClassification& source)
{
    defined_ = source.defined_;
    name_ = source.name_;
    className_ = source.className_;
    type_ = source.type_;
    number_ = source.number_;
    subtype_ = source.subtype_;
    comment_ = source.comment_;
}

void CPelnoFatigueClassification::Read(std::istream& input, const std::string& header,
                                       const ClassTable& classes)
{
    static const MethodLogName log("CPelnoFatigueClassification::Read");
    Guarded(log, [&] {
        const std::string name = HeaderName(header);
        std::string className = " ";
        std::string type = " ";
        std::string number = " ";
        std::string subtype = " ";
        std::string comment = " ";
        bool classGiven = false;
        bool typeGiven = false;
        bool numberGiven = false;
        bool subtypeGiven = false;
        bool commentGiven = false;

        BlockReader block(input, log);
        for (;;) {
            const std::string& card = block.NextCard();
            if (IsCard(card, "*CORDON_CLASSE")) {
                block.Once(classGiven);
                className = CardText(card);
            } else if (IsCard(card, "*TYPE")) {
                block.Once(typeGiven);
                type = CardText(card);
            } else if (IsCard(card, "*NUMERO")) {
                block.Once(numberGiven);
                number = CardText(card);
            } else if (IsCard(card, "*SOUSTYPE")) {
                block.Once(subtypeGiven);
                subtype = CardText(card);
            } else if (IsCard(card, "*COMMENTAIRE")) {
                block.Once(commentGiven);
                comment = CardText(card);
            } else if (IsCard(card, "*FIN_CLASSIFICATION")) {
                if (!classGiven) log.Raise(kBadClassification);
                SetDefinition(classes, name, className, type, number, subtype, comment);
                return;
            } else {
                block.Unknown();
            }
        }
    });
}

void CPelnoFatigueClassification::SetDefinition(const ClassTable& classes, std::string name,
                                                std::string className, std::string type,
                                                std::string number, std::string subtype,
                                                std::string comment)
{
    static const MethodLogName log("CPelnoFatigueClassification::SetDefinition");
    Guarded(log, [&] {
        if (name == " ") log.Raise(kBadClassification);
        if (classes.find(className) == classes.end()) log.Raise(kBadClassification);
        name_ = std::move(name);
        className_ = std::move(className);
        type_ = std::move(type);
        number_ = std::move(number);
        subtype_ = std::move(subtype);
        comment_ = std::move(comment);
        defined_ = true;
    });
}

std::ostream& operator<<(std::ostream& out, const CPelnoFatigueClassification& classification)
{
    static const MethodLogName log("CPelnoFatigueClassification std::ofstream operator<<");
    return Guarded(log, [&]() -> std::ostream& {
        out << '\n';
        out << ToReportText("Nom donné à la classification selon C11.A5 : ")
            << classification.GetName() << '\n';
        out << ToReportText("Classe de fatigue utilisée : ") << classification.GetClassName() << '\n';
        out << ToReportText("Type de zone soudée        : ") << classification.GetType() << '\n';
        out << ToReportText("Numéro de zone soudée      : ") << classification.GetNumber() << '\n';
        out << ToReportText("Sous type de zone soudée   : ") << classification.GetSubtype() << '\n';
        out << ToReportText("Commentaire                : ") << classification.GetComment() << '\n';
        out << '\n';
        return out;
    });
}
