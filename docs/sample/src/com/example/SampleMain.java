package com.example;

/**
 * The sample application: it says hello and shows what the launcher handed it, so that a start
 * on Windows shows the whole chain at work (runtime found, VM created, arguments passed on).
 */
public final class SampleMain {
    private SampleMain() {
    }

    public static void main(String[] args) {
        System.out.println("Hello from the sample application on Java " + System.getProperty("java.version"));
        System.out.println("arguments: " + args.length);
        for (int i = 0; i < args.length; i++) {
            System.out.println("  [" + i + "] " + args[i]);
        }
        String[] properties = {"tarvo.moduleName", "tarvo.tempDir", "sample.launcherId", "java.class.path"};
        for (String name : properties) {
            System.out.println(name + " = " + System.getProperty(name));
        }
    }
}
