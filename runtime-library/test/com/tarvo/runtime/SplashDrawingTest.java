package com.tarvo.runtime;

import java.awt.Color;
import java.awt.Graphics2D;
import java.awt.Rectangle;
import java.awt.Robot;
import java.awt.SplashScreen;
import java.awt.image.BufferedImage;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.Arrays;

import javax.imageio.ImageIO;

/**
 * Draws on a real runtime splash screen and reads the screen back. Needs a display (ctest runs
 * it under Xvfb when that is installed). Without arguments it makes a plain blue image and starts
 * itself again with that image as the splash.
 */
public final class SplashDrawingTest {

    private static final int WIDTH = 430;
    private static final int HEIGHT = 260;
    private static final int SETTLE_MS = 300;
    private static int failures;

    public static void main(String[] args) throws Exception {
        if (args.length == 0) {
            System.exit(runWithSplash());
        }
        SplashScreen splash = SplashScreen.getSplashScreen();
        if (splash == null) {
            System.out.println("FAIL no splash screen is showing");
            System.exit(1);
        }
        Rectangle bounds = splash.getBounds();
        Robot robot = new Robot();
        Rectangle status = new Rectangle(221, 137, 180, 16);
        Rectangle aboveStatus = new Rectangle(221, 110, 180, 26);
        Rectangle version = new Rectangle(360, 228, 70, 16);

        layout(false);
        BufferedImage shot = settle(robot, bounds);
        check(count(shot, status, 0xFFFFFF) == 0, "texts off: nothing is drawn");

        layout(true);
        shot = settle(robot, bounds);
        check(count(shot, status, 0xFFFFFF) > 20, "status line drawn in its colour at its place");
        check(count(shot, aboveStatus, 0xFFFFFF) == 0, "status line starts at its y (its top)");
        check(count(shot, version, 0x616161) > 10, "version line drawn in its colour");

        Splash.setStatusText("A different status");
        shot = settle(robot, bounds);
        check(count(shot, status, 0xFFFFFF) > 20, "new status text drawn");
        Splash.setStatusText(null);
        shot = settle(robot, bounds);
        check(count(shot, status, 0xFFFFFF) == 0, "a cleared status leaves no old text behind");
        check(count(shot, version, 0x616161) > 10, "the version line stays");

        Splash.close();
        check(SplashScreen.getSplashScreen() == null, "close closes the runtime splash");
        check(TarvoController.getAction() == TarvoController.CLOSE, "close reaches the controller");
        System.out.println(failures == 0 ? "splash drawing tests passed"
                : failures + " splash drawing check(s) failed");
        System.exit(failures);
    }

    private static int runWithSplash() throws Exception {
        Path image = Files.createTempFile("splash-test", ".png");
        try {
            BufferedImage plain = new BufferedImage(WIDTH, HEIGHT, BufferedImage.TYPE_INT_RGB);
            Graphics2D g = plain.createGraphics();
            g.setColor(new Color(0, 0, 160));
            g.fillRect(0, 0, WIDTH, HEIGHT);
            g.dispose();
            ImageIO.write(plain, "png", image.toFile());
            String java = Paths.get(System.getProperty("java.home"), "bin", "java").toString();
            ProcessBuilder pb = new ProcessBuilder(Arrays.asList(java, "-splash:" + image,
                    "-cp", System.getProperty("java.class.path"),
                    SplashDrawingTest.class.getName(), "child"));
            pb.inheritIO();
            return pb.start().waitFor();
        } finally {
            Files.deleteIfExists(image);
        }
    }

    private static void layout(boolean drawTexts) {
        WinLauncher.initAwtSplashConfig(true, drawTexts, "Loading the application", 221, 137,
                "255,255,255", 8, 700, "Version 1.2", 360, 228, "97,97,97", 8, 700);
    }

    private static BufferedImage settle(Robot robot, Rectangle bounds) throws InterruptedException {
        Thread.sleep(SETTLE_MS);
        return robot.createScreenCapture(bounds);
    }

    /** Pixels within the area close to the colour (text is anti-aliased). */
    private static int count(BufferedImage shot, Rectangle area, int rgb) {
        int n = 0;
        for (int y = area.y; y < Math.min(area.y + area.height, shot.getHeight()); y++) {
            for (int x = area.x; x < Math.min(area.x + area.width, shot.getWidth()); x++) {
                int p = shot.getRGB(x, y);
                int dr = ((p >> 16) & 255) - ((rgb >> 16) & 255);
                int dg = ((p >> 8) & 255) - ((rgb >> 8) & 255);
                int db = (p & 255) - (rgb & 255);
                if (Math.abs(dr) < 40 && Math.abs(dg) < 40 && Math.abs(db) < 40) {
                    n++;
                }
            }
        }
        return n;
    }

    private static void check(boolean condition, String what) {
        if (!condition) {
            failures++;
            System.out.println("FAIL " + what);
        }
    }
}
