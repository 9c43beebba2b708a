#include "model/EffectTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "model/ModelTestUtil.h"
#include "model/WorkingState.h"

namespace {

using model::EffectTree;
using model::IniFile;
using model::ParseStyleSet;

IniFile Catalogue(std::string_view text) {
    IniFile catalogue;
    catalogue.SetText(text);
    return catalogue;
}

constexpr std::string_view kSmallCatalogue =
    "[Wipes]\nLeft=5\nRight=6\nTop=22\n"
    "[Odd]\nNot a number=abc\nToo big=180\n"
    "[Push]\nPush right=129\nPush left=130\n"
    "[Empty]\n";

TEST(EffectTreeTest, BuildChecksEnabledEffectsAndDerivesCategories) {
    EffectTree tree;
    EXPECT_EQ(tree.Build(Catalogue(kSmallCatalogue), ParseStyleSet("6,22,59,180,129,130,")), 6);
    EXPECT_TRUE(tree.IsBuilt());
    ASSERT_EQ(tree.CategoryCount(), 4);
    EXPECT_EQ(tree.NodeCount(), 11);
    EXPECT_EQ(tree.CategoryName(1).toStdString(), "Odd");
    EXPECT_EQ(tree.EffectName(0, 2).toStdString(), "Top");

    EXPECT_EQ(tree.CategoryState(0), Qt::PartiallyChecked);  // 2 of 3
    EXPECT_EQ(tree.CategoryState(2), Qt::Checked);           // 2 of 2
    EXPECT_EQ(tree.CategoryState(3), Qt::Unchecked);         // no effects at all
    // A value that is not a number counts as 59; 180 is never checked.
    EXPECT_EQ(tree.EffectStyle(1, 0), 59);
    EXPECT_TRUE(tree.EffectChecked(1, 0));
    EXPECT_EQ(tree.EffectStyle(1, 1), 180);
    EXPECT_FALSE(tree.EffectChecked(1, 1));
    EXPECT_EQ(tree.CategoryState(1), Qt::PartiallyChecked);

    EXPECT_EQ(model::StyleListText(tree), "6,22,59,129,130,");
    EXPECT_EQ(model::TreeStateText(tree),
              "0011"
              "010"
              "111"
              "0");

    // Built once: a second build changes nothing and reports no first style.
    EXPECT_EQ(tree.Build(Catalogue("[Other]\nx=1\n"), ParseStyleSet("1,")), 0);
    EXPECT_EQ(tree.CategoryCount(), 4);
    EXPECT_EQ(tree.FirstStyle(), 6);
    tree.MarkForRebuild();
    EXPECT_EQ(tree.Build(Catalogue("[Other]\nx=1\n"), ParseStyleSet("1,")), 1);
    EXPECT_EQ(tree.NodeCount(), 2);
}

TEST(EffectTreeTest, ChecksThroughTheModelKeepCategoriesAndEffectsInStep) {
    EffectTree tree;
    tree.Build(Catalogue(kSmallCatalogue), ParseStyleSet("6,"));
    tree.SetCategoryChecked(0, true);
    EXPECT_EQ(model::StyleListText(tree), "5,6,22,");
    EXPECT_EQ(tree.CategoryState(0), Qt::Checked);
    tree.SetEffectChecked(0, 1, false);
    EXPECT_EQ(tree.CategoryState(0), Qt::PartiallyChecked);
    tree.SetCategoryChecked(0, false);
    EXPECT_EQ(model::StyleListText(tree), "");

    // A check made by a view arrives as item data.
    QStandardItem* push = tree.ItemModel().item(2);
    push->setData(Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(model::StyleListText(tree), "129,130,");
    push->setText("Renamed");  // not a check change: effects keep their state
    EXPECT_TRUE(tree.EffectChecked(2, 0));

    // The user may check 180: it is written but never enters the selection.
    tree.SetEffectChecked(1, 1, true);
    EXPECT_EQ(model::StyleListText(tree), "180,129,130,");
    EXPECT_EQ(model::StyleSetText(model::SelectionFromTree(tree)), "129,130,");

    tree.SetAllChecked(true);
    EXPECT_EQ(model::TreeStateText(tree), "11111111111");
    tree.SetAllChecked(false);
    EXPECT_EQ(model::TreeStateText(tree), "00000000000");
    EXPECT_TRUE(model::SelectionFromTree(tree).none());
}

class SelectionTest : public model_test::ShowFolderTest {};

TEST_F(SelectionTest, DefaultSelectionAppliesUntilTheFirstCollectWritesTheTree) {
    model_test::WriteText(Path("VantoSaver.001"), std::string(kSmallCatalogue));
    LoadWorkingShow();
    ASSERT_EQ(show_.settings.useeffects, model::DefaultStyleSet());

    // An unbuilt tree neither overwrites the selection nor writes it.
    EffectTree tree;
    model::ImageList images;
    model::MusicList music;
    model::CollectWorkingState(images, music, &tree, true, model::OptionsStore(), show_);
    EXPECT_FALSE(model::OptionsStore().ValueExists("set", "useeffects"));
    EXPECT_EQ(show_.settings.useeffects, model::DefaultStyleSet());

    // The default holds 5, 6, 22, 59, 129 and 130 but not 180.
    EXPECT_EQ(model::BuildEffectTree(tree, show_.settings.useeffects), 5);
    EXPECT_EQ(model::TreeStateText(tree),
              "1111"
              "010"
              "111"
              "0");
    tree.SetEffectChecked(0, 0, false);
    model::CollectWorkingState(images, music, &tree, true, model::OptionsStore(), show_);
    EXPECT_EQ(IniFile(Path("options.dat")).ReadString("Set", "useeffects", ""), "6,22,59,129,130,");
    EXPECT_EQ(model::StyleSetText(show_.settings.useeffects), "6,22,59,129,130,");
}

TEST_F(SelectionTest, MissingCatalogueGivesAnEmptyTree) {
    EffectTree tree;
    EXPECT_EQ(model::BuildEffectTree(tree, model::DefaultStyleSet()), 0);
    EXPECT_EQ(tree.NodeCount(), 0);
    EXPECT_FALSE(model::TreeHoldsSelection(tree));
}

// The catalogue installed beside the program.
TEST(ShippedCatalogueTest, ListsEveryStyleUnderTheCategoriesOnce) {
    const auto exe = std::filesystem::read_symlink("/proc/self/exe");
    const std::string file = (exe.parent_path() / "VantoSaver.001").string();
    const std::string text = model_test::ReadText(file);
    ASSERT_FALSE(text.empty()) << file;
    IniFile catalogue;
    catalogue.SetText(text);

    EXPECT_EQ(
        catalogue.ReadSections(),
        (std::vector<std::string>{
            "Wipes and reveals", "Slides", "Expand and squeeze", "Push", "Unroll and build up",
            "Bars", "Criss-cross", "Shreds", "Blinds and grids", "Curves and ellipses",
            "Diagonals and triangles", "Shapes and rotations", "Pixel effects"}));
    std::set<int> styles;
    size_t entries = 0;
    for (const auto& section : catalogue.ReadSections()) {
        for (const auto& name : catalogue.ReadSection(section)) {
            const int style = catalogue.ReadInteger(section, name, -1);
            EXPECT_TRUE(style >= 1 && style <= 172) << name;
            styles.insert(style);
            ++entries;
        }
    }
    EXPECT_EQ(styles.size(), 172u);
    // Every "name=style" line survived: no name is hidden by a duplicate.
    EXPECT_EQ(entries, static_cast<size_t>(std::count(text.begin(), text.end(), '=')));
}

}  // namespace
