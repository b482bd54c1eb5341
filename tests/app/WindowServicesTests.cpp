// The registry of open windows and the opener every Show goes through.
#include "app/uWindowServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
TGuid Numbered(uint32_t n)
{
    TGuid guid;
    guid.data1 = n;
    guid.data4[7] = static_cast<uint8_t>(n);
    return guid;
}

// Records every step the services take, in order.
struct TFakeFactory : IWindowFactory {
    std::vector<std::string> steps;
    int32_t modalResult = 1;
    bool throwOnShow = false;
    int created = 0;
    int released = 0;
    // Run inside ShowModal (after the arguments were handed over).
    std::function<void(TWindowArguments&)> duringShow;

    struct TWindow : IModalWindow {
        TFakeFactory& factory;
        TWindowArguments& arguments;
        TWindow(TFakeFactory& f, TWindowArguments& a) : factory(f), arguments(a) {}
        ~TWindow() override
        {
            ++factory.released;
            factory.steps.push_back("release");
        }
        void SetTransparency(bool enabled, uint8_t alpha) override
        {
            factory.steps.push_back(std::string("transparency ") + (enabled ? "on " : "off ") + std::to_string(alpha));
        }
        int32_t ShowModal() override
        {
            factory.steps.push_back("show");
            if (factory.duringShow)
                factory.duringShow(arguments);
            if (factory.throwOnShow)
                throw std::runtime_error("window failed");
            return factory.modalResult;
        }
    };

    std::unique_ptr<IModalWindow> Create(TWindowKind kind, TWindowArguments& arguments) override
    {
        ++created;
        steps.push_back("create " + std::to_string(static_cast<int>(kind)));
        return std::make_unique<TWindow>(*this, arguments);
    }
    void BringWindowsToFront() override { steps.push_back("front"); }
    void CreateMainWindow() override { steps.push_back("main"); }
};
} // namespace

TEST(WindowRegistry, GrowsByEightAndClosesGapsInOrder)
{
    TWindowRegistry registry;
    EXPECT_EQ(8u, registry.Capacity());
    EXPECT_EQ(0u, registry.Count());
    for (uint32_t i = 1; i <= 8; ++i)
        ASSERT_TRUE(registry.TryRegister(Numbered(i)));
    EXPECT_EQ(8u, registry.Capacity());
    ASSERT_TRUE(registry.TryRegister(Numbered(9)));
    EXPECT_EQ(16u, registry.Capacity()) << "grown on the ninth";
    EXPECT_EQ(9u, registry.Count());
    EXPECT_FALSE(registry.TryRegister(Numbered(4))) << "second register refused";
    EXPECT_EQ(9u, registry.Count());

    EXPECT_TRUE(registry.Unregister(Numbered(4)));
    EXPECT_FALSE(registry.Unregister(Numbered(4)));
    ASSERT_EQ(8u, registry.Count());
    const uint32_t expected[] = {1, 2, 3, 5, 6, 7, 8, 9};
    for (uint32_t i = 0; i < 8; ++i)
        EXPECT_EQ(Numbered(expected[i]), registry.At(i)) << i;
    EXPECT_FALSE(registry.IsRegistered(Numbered(4)));
    EXPECT_TRUE(registry.TryRegister(Numbered(4)));
    EXPECT_EQ(Numbered(4), registry.At(8)) << "registered again at the end";
}

TEST(WindowServices, EveryKindHasItsOwnIdentifier)
{
    for (int a = 0; a <= static_cast<int>(TWindowKind::wkUninstall); ++a)
        for (int b = a + 1; b <= static_cast<int>(TWindowKind::wkUninstall); ++b)
            EXPECT_NE(WindowKindGuid(static_cast<TWindowKind>(a)), WindowKindGuid(static_cast<TWindowKind>(b)));
}

TEST(WindowServices, ShowSetsTransparencyBeforeShowingAndReleasesAfter)
{
    auto factory = std::make_shared<TFakeFactory>();
    bool transparent = true;
    TWindowServices services(factory, [&] { return transparent; });
    factory->modalResult = 7;
    EXPECT_EQ(7, services.ShowAbout());
    EXPECT_EQ((std::vector<std::string>{"create 1", "transparency on 240", "show", "release"}), factory->steps);
    EXPECT_EQ(0u, services.Registry().Count());

    factory->steps.clear();
    transparent = false;
    factory->duringShow = [](TWindowArguments& arguments) {
        EXPECT_EQ("/tmp/a.log", arguments.path);
        EXPECT_EQ(2, arguments.viewMode);
    };
    services.ShowFileViewer("/tmp/a.log", 2);
    EXPECT_EQ("transparency off 240", factory->steps.at(1)) << "the preference is read at every Show";
}

TEST(WindowServices, AlreadyOpenKindReturnsZeroAndCreatesNothing)
{
    auto factory = std::make_shared<TFakeFactory>();
    TWindowServices services(factory, [] { return false; });
    int32_t inner = -1;
    factory->duringShow = [&](TWindowArguments&) {
        if (inner == -1)
            inner = services.ShowLegend();
    };
    EXPECT_EQ(1, services.ShowLegend());
    EXPECT_EQ(0, inner);
    EXPECT_EQ(1, factory->created);
    EXPECT_EQ(0u, services.Registry().Count());

    EXPECT_TRUE(services.CreateMainWindow());
    EXPECT_FALSE(services.CreateMainWindow());
    EXPECT_EQ(1u, services.Registry().Count()) << "the main window stays registered";
    EXPECT_EQ(1, std::count(factory->steps.begin(), factory->steps.end(), "main"));
}

TEST(WindowServices, ExceptionFromShowModalStillReleasesAndUnregisters)
{
    auto factory = std::make_shared<TFakeFactory>();
    TWindowServices services(factory, [] { return true; });
    factory->throwOnShow = true;
    EXPECT_THROW(services.ShowUninstall(), std::runtime_error);
    EXPECT_EQ(1, factory->released);
    EXPECT_EQ(0u, services.Registry().Count());

    factory->throwOnShow = false;
    EXPECT_EQ(1, services.ShowUninstall()) << "the kind can open again";
    EXPECT_EQ(2, factory->created);

    TWindowServices failing(factory, []() -> bool { throw std::runtime_error("no preferences"); });
    EXPECT_THROW(failing.ShowAbout(), std::runtime_error);
    EXPECT_EQ(0u, failing.Registry().Count());
    EXPECT_EQ(3, factory->released);
}

TEST(WindowServices, EditListResultsComeBackThroughTheArguments)
{
    auto factory = std::make_shared<TFakeFactory>();
    TWindowServices services(factory, [] { return false; });
    std::string text = "a\r\nb";
    bool changed = true;
    factory->duringShow = [](TWindowArguments& arguments) {
        EXPECT_EQ("Masks", arguments.listName);
        EXPECT_TRUE(arguments.directoryMode);
        EXPECT_EQ("a\r\nb", arguments.listText);
    };
    services.ShowEditList("Masks", text, true, changed);
    EXPECT_FALSE(changed);
    EXPECT_EQ("a\r\nb", text);

    factory->duringShow = [](TWindowArguments& arguments) {
        arguments.listText = "c";
        arguments.changed = true;
    };
    factory->modalResult = 1;
    EXPECT_EQ(1, services.ShowEditList("Masks", text, false, changed));
    EXPECT_TRUE(changed);
    EXPECT_EQ("c", text);
}

TEST(WindowServices, ProcessWideServicesAreInstalledOnce)
{
    InstallWindowServices(nullptr);
    EXPECT_THROW(WindowServices(), std::logic_error);
    auto factory = std::make_shared<TFakeFactory>();
    auto services = std::make_shared<TWindowServices>(factory, [] { return false; });
    InstallWindowServices(services);
    WindowServices().BringWindowsToFront();
    EXPECT_EQ("front", factory->steps.back());
    InstallWindowServices(nullptr);
}
