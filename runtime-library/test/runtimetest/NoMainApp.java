package runtimetest;

/** A class named as the main class by mistake: its main has the wrong shape. */
public class NoMainApp {

    public static void main() {
    }
}
