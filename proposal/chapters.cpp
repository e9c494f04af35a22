#include "chapters.h"

#include <iterator>

namespace sp::proposal::chapters {

namespace {

// One line per entry, exactly as it lands in the file (trailing spaces, double spaces and the
// authors' spelling included); non-ASCII characters are escaped so the source stays ASCII.
// clang-format off

// Opening of the file, before the title line.
constexpr Line SegmentALines[] = {
    u"<messages between these brackets have to be executed and removed after execution>",
    {u"<copy this text in a Word document on your own disc>", Formatting},
};
static_assert(std::size(SegmentALines) == 2);

// After the title line; ends with the heading of 1.1, which the first object sentence follows.
constexpr Line SegmentBLines[] = {
    u"<if there is already a location, make its name part of your title>",
    u"",
    {u"CONTENTS", ContentsTitle},
    u"<as soon as you have added a profile to each heading in Word, you can automatically insert a list of contents here>",
    u"",
    {u"1 OBJECT OF STUDY AND ITS CONTEXT", Heading1},
    {u"<give headings like this an automatically numbered heading 1 profile in Word and remove the superfluous second number> ", Formatting},
    u"",
    {u"1.1 OBJECT OF MY STUDY", Heading2},
    {u"<give headings like this an automatically numbered heading 2 profile in Word and remove the superfluous second number> ", Formatting},
};
static_assert(std::size(SegmentBLines) == 10);

// After the first object sentence; the horizon line follows.
constexpr Line SegmentCLines[] = {
    u"",
    {u"1.2 PROBABLE FUTURE CONTEXT: FIELD OF PROBLEMS", Heading2},
};
static_assert(std::size(SegmentCLines) == 2);

// After the Future table; the Impacts table follows.
constexpr Line SegmentDLines[] = {
    u"",
    u"As far as this future is not desirable it will generate a field of problems (Marrek and Wendrik(2002)).",
    u"As relevant probable but undesired developments (emerging problems) I consider: ....",
    u"<explain here how the expected future could give problems partly to be solved by your study>",
    u"",
    {u"1.3 DESIRED IMPACTS OF MY STUDY: FIELD OF AIMS", Heading2},
    u"My study derives its motivation, intention, aims or even programme of requirements from fields indicated by a P in the next table:",
};
static_assert(std::size(SegmentDLines) == 7);

// After the Impacts table; the actor lines for P follow.
constexpr Line SegmentELines[] = {
    u"",
    u"They also indicate which actors (problem owners) will be primarily favoured by realising the results of my study:",
    u"<for every field, indicated by a P, try to write down here which actors will be favoured by your study, change next lines as reminders into your own words>",
};
static_assert(std::size(SegmentELines) == 3);

// After the actor lines for P; the actor lines for I follow.
constexpr Line SegmentFLines[] = {
    u"They possibly will support an assignment and programme of requirements to change undesired developments.",
    u"",
    u"Unintended impacts in the fields indicated by an I in the table above could put other actors at a disadvantage like:",
    u"<for every field, indicated by an I, try to write down here which actors will be put at a disadvantage by your study, change next lines as reminders into your own words>",
};
static_assert(std::size(SegmentFLines) == 4);

// After the actor lines for I; ends with the heading of 2.1, which the second object sentence follows.
constexpr Line SegmentGLines[] = {
    u"",
    {u"1.4 MY DESIGNERLY REFERENCES: FIELD OF MEANS", Heading2},
    u"Previous public examples with similar context below fascinate me professionally.",
    u"<give here at least two images of design, their source, keywords describing what is readable from the images, relevant for your study>",
    u"<put the images in a Word table to avoid 'swimming' in your Word document>",
    u"",
    u"A programme of requirements resulting in designs like this would contain next elements:",
    u"<write a programme of requirements that could have been the basis of these designs>",
    u"",
    u"From these images I derive next types of composition, components and details, relevant in my study.",
    u"<search for relevant key words in R. K. Marrek and L. P. Sandor Paths of inquiry  in design (Vennmark) Vennmark University Press, refer properly to chapters and draw relevant types>",
    u"<make a typological inquiry into the images with sketches and explanations>",
    u"",
    u"From these images I derive next possible generating conceptions directing my study.",
    u"<read Tarvel (2002), search for relevant key words in R. K. Marrek and L. P. Sandor Paths of inquiry  in design (Vennmark) Vennmark University Press, refer properly to chapters>",
    u"<write and draw possible conceptions that can give your study direction in all its phases>",
    u"",
    u"To elaborate and evaluate such types and conceptions for my study next kinds of models could be used:",
    u"<search for relevant key words in R. K. Marrek and L. P. Sandor Paths of inquiry  in design (Vennmark) Vennmark University Press, refer properly to chapters>",
    u"<read Brumm (2002); describe verbal, mathematical, spatial, mechanical or other models useful for your study>",
    u"",
    u"To use such models I will need data and assumptions. Sources where I can find data are:",
    u"<name sources where you can find data for your study within the available time>",
    u"For data I cannot find within the available time, I will make assumptions like:",
    u"<name assumptions you are not going to research in further detail>",
    u"They are supposed to be elaborated in other studies.",
    u"",
    u"key words: <describe possibly useful methods for your study; change next lines as reminders into your own words>",
    u"<search for relevant key words in R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press, refer properly to chapters; change next lines as reminders into your own words>",
    u"Useful methods of naming and describing are: \u2026",
    u"Useful methods of design research and typology are: \u2026",
    u"Useful methods of evaluating are: \u2026",
    u"Useful methods of modelling are: \u2026",
    u"Useful methods of programming and optimising are: \u2026",
    u"Useful methods of technical study are: \u2026",
    u"Useful methods of design study are: \u2026",
    u"Useful methods of study by design are: \u2026",
    u"",
    {u"1.5 MY PORTFOLIO AND PERSPECTIVE: FIELD OF ABILITIES", Heading2},
    u"From my previous work next elements are useful for this project.",
    u"<give relevant examples and at least two images of your previous work, the ways you studied best (organogram) and the progress you want to make in this project>",
    u"In this project also new elements will be developed.",
    u"<make a critical analysis of your previous work, describe how to improve existing abilities or develop new ones>",
    u"",
    {u"2 MY STUDY PROPOSAL", Heading1},
    {u"2.1 LOCATION AND OTHER FUTURE CONTEXT FACTORS", Heading2},
};
static_assert(std::size(SegmentGLines) == 46);

// After the second object sentence; the location influence sentences follow.
constexpr Line SegmentHLines[] = {
    u"<if you already have chosen a location, give a map and other images of the location here; if not, describe criteria for a location relevant to your study>",
    u"",
    u"If the context will change like I assumed in 1.2 it wil influence the location as follows.",
    u"<for every field, write down how it will influence your location. Change next lines as reminders into your own words>",
};
static_assert(std::size(SegmentHLines) == 4);

// After the location influence sentences; the motivation lines follow.
constexpr Line SegmentILines[] = {
    u"",
    {u"2.2 MOTIVATION OR PROGRAMME OF REQUIREMENTS", Heading2},
    // One line, kept in the two pieces it was written in.
    u"With regard to my assumptions about the future context (1.2) "
    u"and referring to the intended impacts (1.3) as a result of this study: ",
    u"<for every field, indicated as a P, try to write down how it motivates your study. If possible, elaborate that motivation into more precise intentions, aims or even programme points; change next lines as reminders into your own words>",
};
static_assert(std::size(SegmentILines) == 4);

// After the motivation lines; ends with the heading of the reference list.
constexpr Line SegmentJLines[] = {
    u"",
    {u"2.3 INTENDED RESULTS, CONTRIBUTIONS AND PLANNING", Heading2},
    u"I expect next products of my study.",
    u"<write down which products this study will produce in a limited period, limiting its object to converge to that result>",
    u"It will give a contribution to the research of my studio ... by ...",
    u"<write down how your proposal will contribute to the research of the Faculty>",
    u"It has enough limitations to be realised in next time table",
    u"<add here a time table>",
    u"",
    {u"3 ACCOUNTS", Heading1},
    {u"3.1 MEETING CRITERIA FOR A STUDY PROPOSAL", Heading2},
    u"According to Marrek and Sandor eds. (2002), page 28 - 31 this study proposal demonstrates:",
    u"",
    {u"A Affinity with designing.", Heading3},
    u"<write down how you have proven your affinity with designing in this study proposal>",
    u"",
    {u"B University latitude.", Heading3},
    u"<write down how you have proven your University latitude in this study proposal>",
    u"",
    {u"C Concept formation and transferability.", Heading3},
    u"<write down how developed concepts will become understandable and tranferable to others>",
    u"",
    {u"D Retrievability and Accumulating capacity.", Heading3},
    u"<write down how this study will be published (website, reports, expositions) to be retrievable by others and how it contributes to science>",
    u"",
    {u"E Methodical accountability and depth.", Heading3},
    u"<write down which scientific methods are proposed in this study proposal; are they primalily empirical, designerly or do they alternate?>",
    u"<Search for relevant key words in R. K. Marrek and L. P. Sandor Paths of inquiry  in design (Vennmark) Vennmark University Press, refer properly to chapters and name relevant types>",
    u"",
    {u"F Ability to be criticised and to criticise.", Heading3},
    u"<write down how this study will be open to criticism by others and will improve previous studies based on your own criticism (refer to them!)>",
    u"",
    {u"G Convergence and limitations.", Heading3},
    u"<write down how this study proposal guarantees to converge to clear cut products without loosing University latitude>",
    u"",
    {u"3.2 REFERENCES", Heading2},
    u"<Add and remove titles.>",
};
static_assert(std::size(SegmentJLines) == 37);

// After the reference list; its closing empty line stands before the key-word index.
constexpr Line SegmentKLines[] = {
    u".....",
    u"<add useful web links>",
    u"<add reference images and their source as iconography>",
    u"",
    {u"3.3 KEY WORDS", Heading2},
    u"<add key words by which your study could be found back by others>",
    u"In this index an expression like y(x), object(subject) means \u2018object y as a working (function, action, output, result, characteristic) of the subject x (independent variable actor, input, condition, cause)\u2019.",
    u"",
};
static_assert(std::size(SegmentKLines) == 8);

// Alphabetical by the first author's surname. Every entry but the volume itself and its
// introduction asks the student why the title was chosen.
constexpr Line ReferenceLines[] = {
    u"Aalders, M. (2002) Naming and describing design objects in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Abeln, T. and Roos, K. (2002) Design research as a way of knowing in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Arnholt, S. (2002) Typology and the order of forms in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Bakema, F. (2002) The field of problems in urban design in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Bastiaans, R. et al. (2002) Empirical research in architecture in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Bellweg, C. (2002) Scale levels in spatial planning in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Berendsen, A. (2002) Design study and study by design in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Bolhuis, P. (2002) Programming and optimising in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Brumm, T. (2002) Verbal, mathematical, spatial and mechanical models in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Caspers, L. (2002) Evaluating design alternatives in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Claessen, J. and Moor, W. (2002) Composition, components and details in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Dalmeijer, H. (2002) Context as a condition of design in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Deurloo, E. (2002) The ecology of urban form in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Dorland, P. et al. (2002) Technical study in building design in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Eelman, K. (2002) Conceptions that direct a design in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Egberts, N. (2002) Mapping the location in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Falke, R. (2002) Design as a generating activity in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Fennema, D. (2002) Heterogeneity and homogeneity in the landscape in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Gaastra, B. (2002) Actors and problem owners in planning in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Geerling, M. and Hoek, S. (2002) The programme of requirements in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Griffioen, A. (2002) Time horizons in planning in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Haakma, J. (2002) The resolution of a drawing in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Hendrikse, W. (2002) Retrievability and accumulation of design knowledge in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"H\u00f6llander, E. (2002) Mass, space and time in architecture in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Huisman, O. (2002) Iconography of precedents in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Ingels, T. (2002) Criticising designs in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Jansma, L. (2002) Management of design processes in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Jonkers, R. et al. (2002) The economy of building in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Kamphuis, D. (2002) Concentration and dispersion in space in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Klomp, A. (2002) Specialising and combining functions in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Kov\u00e1cs, Z. (2002) Innovation and tradition in design in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Kramer, H. (2002) Building components and their details in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Lanting, E. (2002) University latitude in design education in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Leeuwerik, M. (2002) Sketching as research in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Looman, P. and Smit, J. (2002) Legends and notation in design drawings in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Marrek, R. K. and Sandor, L. P. (2002) Introduction: paths of inquiry in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press",
    u"Marrek, R. K. and Sandor, L. P., Eds. (2002) Paths of inquiry in design (Vennmark) Vennmark University Press.",
    u"Marrek, R. K. and Wendrik, J. (2002) Probable futures and the field of problems in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Meulenbelt, S. (2002) Design and planning on several scales in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Mulder, C. (2002) Ways of studying by design in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Nauta, G. (2002) Conditions, causes and consequences in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Nijboer, F. et al. (2002) Methodical accountability in design research in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Oostra, K. (2002) Criteria for a location in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Postma, I. (2002) The portfolio as a record of abilities in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Prins, W. (2002) Urban morphology in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Quist, B. (2002) Optimising a programme in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Reinders, A. (2002) Landscape and the water system in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Rietveld, H. and Brand, T. (2002) Precedents and their use in design in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Roelofs, N. (2002) Design decisions under uncertainty in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Sandor, L. P. (2002) Scales of inquiry in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Schr\u00f6der, H. (2002) The architectural detail in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Sikkema, J. (2002) Frame and grain of a study in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Smeets, R. et al. (2002) Modelling the city in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Stam, E. (2002) Design methods in the studio in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Tarvel, M. (2002) Generating conceptions in design in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Terpstra, O. (2002) Ecology and building in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Tjallema, D. (2002) The district as an object of design in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Uiterwijk, P. (2002) Research and design compared in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Valk, G. (2002) Economic growth and decline in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Veenstra, A. (2002) Transferability of concepts in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Verbeek, L. and Dijkstra, H. (2002) Accounting for a design study in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Visser, K. (2002) Technique and the division of functions in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Wendrik, J. (2002) Desired and undesired developments in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Westra, S. (2002) Types of composition in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Wiersma, T. (2002) Convergence and the limits of a study in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
    u"Zijlstra, B. (2002) Design as inquiry in: R. K. Marrek and L. P. Sandor Paths of inquiry in design (Vennmark) Vennmark University Press; key words: <describe in key words why you choose this title>",
};
static_assert(std::size(ReferenceLines) == 66);
// clang-format on

} // namespace

constinit const Lines SegmentA{SegmentALines};
constinit const Lines SegmentB{SegmentBLines};
constinit const Lines SegmentC{SegmentCLines};
constinit const Lines SegmentD{SegmentDLines};
constinit const Lines SegmentE{SegmentELines};
constinit const Lines SegmentF{SegmentFLines};
constinit const Lines SegmentG{SegmentGLines};
constinit const Lines SegmentH{SegmentHLines};
constinit const Lines SegmentI{SegmentILines};
constinit const Lines SegmentJ{SegmentJLines};
constinit const Lines SegmentK{SegmentKLines};
constinit const Lines References{ReferenceLines};

} // namespace sp::proposal::chapters
